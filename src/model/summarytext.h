#pragma once

#include <string>

namespace loomscope {

struct Tdstinfo;
enum class DstReadStatus;

// The six-line design summary: name, stitches, colours, sequins, size in millimetres and in
// inches, lines separated by a carriage return.
std::string summaryText(const std::string& designName, const Tdstinfo& info,
                        char decimalSeparator = '.');
// Its captions, one per line.
std::string summaryCaptions();

// Why a file could not be shown, in a few words ("the file is too short to hold a design").
std::string readFailureReason(DstReadStatus status, const std::string& systemError = {});
// The summary of a file that could not be read: its name and the reason, nothing else.
std::string failedSummaryText(const std::string& designName, DstReadStatus status);

} // namespace loomscope
