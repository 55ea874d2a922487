// The string table.
#include <map>

#include "res/resources.h"

namespace larkspin {

namespace {

std::string Footer() {
  const std::string rule = "-.-.-.-.-.-.-.-.-.-.-.-.-.-.-";
  return "\r\n\r\n\r\n\r\n" + rule + "\r\nGet Larkspin - Free at\r\n" + kProductWebAddress;
}

const std::map<int, std::string>& Table() {
  static const std::map<int, std::string> table = {
      {101, "&About Larkspin..."},
      {102, "Larkspin, Version 0.97 (5.28.19)"},
      {103, Footer()},
      {104,
       "Welcome to Larkspin 0.97!\n\nThank you for trying this version. Please tell us what you think of it, and "
       "visit the Larkspin web site for news and updates.\n\nThe manual page tells how to use it: man larkspin"},
      {106, "Please enter your Larkspin password:"},
      {107, "Larkspin password"},
      {133, "Please select a message to reply to."},
      {134, "Please select a message to be forwarded."},
      {146, "%d messages have been removed from server"},
      {149, "Open attachment"},
      {150, "Add Sender to Address Book"},
      {151, "(format: real name*email address)"},
      {152, "<<Attachments: "},
      {153, ">>"},
      {155, "The attached file was not found - Message not sent."},
      {157,
       "Willkommen bei Larkspin 0.97!\n\nDanke, dass Sie diese Version ausprobieren. Schreiben Sie uns, was Sie "
       "davon halten, und besuchen Sie die Larkspin-Webseite.\n\nDie Handbuchseite beschreibt das Programm: man "
       "larkspin"},
      {158,  // Windows-1252 bytes, like every text of the program
       "\xA1" "Bienvenido a Larkspin 0.97!\n\nGracias por probar esta versi\xF3n. Cu\xE9ntenos qu\xE9 le parece y "
       "visite la p\xE1gina web de Larkspin.\n\nLa p\xE1gina del manual explica el programa: man larkspin"},
  };
  return table;
}

}  // namespace

std::string LoadResourceString(int id) {
  const auto entry = Table().find(id);
  return entry != Table().end() ? entry->second : std::string();
}

}  // namespace larkspin
