#pragma once
// The values of config.ini read once at start.

#include <cstddef>

#include "common/text_encoding.h"

namespace larkspin {

// Where a remembered POP3 password is kept: scrambled in config.ini, or in the desktop keyring.
enum class PasswordStore { kFile, kKeyring };

// What counts as new mail after a peek: Count, a total that grew; Uidl, messages whose UIDL ids
// no earlier peek listed.
enum class NewMailRule { kCount, kUidl };

struct StartupSettings {
  int mail_threshold_kb = 100;  // MailThreshold: larger messages are shown in red
  int timeout_seconds = 60;     // TimeOut: one wait for a server reply
  int peek_minutes = 5;         // PeekTime: 0 switches automatic peeking off
  int max_message_mb = 256;     // MaxMessageMB: the largest message a download accepts, 1 to 2047
  // Charsets: Classic (the default) or Modern, which holds the texts of mail as UTF-8
  TextEncoding text_encoding = TextEncoding::kClassic;
  bool notify = true;  // Notify: a desktop notification when a peek finds new mail; 0 turns it off
  PasswordStore password_store = PasswordStore::kFile;  // PasswordStore: File (the default) or Keyring
  NewMailRule new_mail_by = NewMailRule::kCount;  // NewMailBy: Count (the default) or Uidl
  bool fast_peek = false;  // FastPeek: the window's peek pipelines, without a wait before each header
  int parallel_accounts = 4;  // ParallelAccounts: accounts an all-accounts peek visits at once, 1 to 16
  int preview_lines = 40;     // PreviewLines: the lines of a message's text a preview asks for, 1 to 1000

  // TimeOut in milliseconds; a negative TimeOut counts as 0.
  unsigned ReplyTimeoutMs() const;
  size_t MaxMessageBytes() const { return static_cast<size_t>(max_message_mb) << 20; }
};

// Reads MailThreshold, TimeOut, PeekTime, MaxMessageMB, Charsets, Notify, PasswordStore,
// NewMailBy, FastPeek, ParallelAccounts and PreviewLines from section "System", in that order. PasswordStore is Keyring and NewMailBy Uidl when
// they say so in any case, else File and Count.
// A MaxMessageMB below 1 stands for the default; one above 2047 for 2047. ParallelAccounts and
// PreviewLines outside their ranges are taken as the nearest end.
StartupSettings ReadStartupSettings();

}  // namespace larkspin
