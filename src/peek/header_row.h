#pragma once
// The record behind one row of the header list: which message it stands for, where it is
// stored, and what the user has marked it for.
#include <cstdint>
#include <string>
#include <vector>

#include "peek/deleted_log.h"
#include "peek/message_identity.h"

namespace larkspin {

// Names one row for as long as it exists, whatever sorting does to its position.
using RowId = uint64_t;

// A new row id, unique in the process.
RowId NewRowId();

struct HeaderRow {
  RowId row_id = NewRowId();
  int delete_mark = 0;         // to be deleted on the server
  std::string local_file;      // the stored message file, empty while the message is only on the server
  std::string file_id;         // its date file's id, from the Date field (empty: the message's own Date names it)
  int message_number = 0;      // the server's number in this connection, from 1
  int download_mark = 0;       // to be downloaded at the next peek
  std::string sender_address;  // the address part of the From field
  std::string account;         // the account's display name
  int account_number = 0;      // N of the section "Account<N>"
  int row_offset = 0;          // rows that earlier accounts of the same peek placed before these
  std::vector<std::string> attachments;  // names of the split-out attachment files
  MessageIdentity identity;    // what the message was when it was listed
  int connection = 0;          // the session's connection that listed it (0: none)
  DeletedMessage deletion;     // what deleted.log says of it once it is deleted (no time, no rule)
};

}  // namespace larkspin
