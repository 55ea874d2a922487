#pragma once
// What the send benchmarks share: a working folder whose account 1 sends to npm smtp-server with
// AUTH LOGIN, a random attachment of a given size, and one table row of a client's runs.
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace larkspin::bench {

inline constexpr const char* kSendUser = "bench";
inline constexpr const char* kSendPassword = "bench-password";

// config.ini, text.txt (the message text) and attachment.bin (attachment_mb MiB of random bytes).
void WriteSendWorkingFolder(const test_support::TempFolder& folder, int port, int attachment_mb);

struct SendSample {
  double seconds = 0;
  double peak_mib = 0;
};

// Runs argv to its end; its wall time and peak memory.
SendSample MeasureSend(const std::vector<std::string>& argv, const std::string& output_path);

// "name  min  median  max  peak MiB  x attachment", one line.
void PrintSendRow(const char* name, std::vector<SendSample> samples, double attachment_mib);
// The table's heading line.
void PrintSendHeading();

}  // namespace larkspin::bench
