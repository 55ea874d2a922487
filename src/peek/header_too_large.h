#pragma once
// The row of a message whose header is larger than the POP3 client reads
// (CPop3Client::kMaxHeaderReply): the message is listed all the same, so that it can be marked
// and is never hidden, with its size and a Subject that says why its other fields are empty.
#include <cstdint>
#include <string>

#include "common/text_encoding.h"
#include "peek/row_texts.h"

namespace larkspin {

// "(header larger than 4 MiB: not shown)": the Subject of such a row.
std::string HeaderTooLargeNote();

// Row texts with an empty From and Date, the note as Subject, the account's display name (as
// MakeRowTexts holds it in encoding) and the size; no stored file.
RowTexts HeaderTooLargeRowTexts(uint32_t size, const std::string& account_name,
                                TextEncoding encoding = TextEncoding::kClassic);

}  // namespace larkspin
