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
      {kStringAboutMenu, "&About Larkspin..."},
      {kStringVersion, "Larkspin, Version 0.97 (5.28.19)"},
      {kStringMailFooter, Footer()},
      {kStringGreetingEnglish,
       "Welcome to Larkspin 0.97!\n\nThank you for trying this version. Please tell us what you think of it, and "
       "visit the Larkspin web site for news and updates.\n\nThe manual page tells how to use it: man larkspin"},
      {kStringPasswordPrompt, "Please enter your Larkspin password:"},
      {kStringPasswordCaption, "Larkspin password"},
      {kStringNoSelectionToReply, "Please select a message to reply to."},
      {kStringNoSelectionToForward, "Please select a message to be forwarded."},
      {kStringRemovedFromServer, "%d messages have been removed from server"},
      {kStringOpenAttachment, "Open attachment"},
      {kStringAddSenderCaption, "Add Sender to Address Book"},
      {kStringAddSenderPrompt, "(format: real name*email address)"},
      {kStringAttachmentsOpening, "<<Attachments: "},
      {kStringAttachmentsClosing, ">>"},
      {kStringAttachmentNotFound, "The attached file was not found - Message not sent."},
      {kStringGreetingGerman,
       "Willkommen bei Larkspin 0.97!\n\nDanke, dass Sie diese Version ausprobieren. Schreiben Sie uns, was Sie "
       "davon halten, und besuchen Sie die Larkspin-Webseite.\n\nDie Handbuchseite beschreibt das Programm: man "
       "larkspin"},
      {kStringGreetingSpanish,  // Windows-1252 bytes, like every text of the program
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
