#pragma once

namespace zuvo::formats {

enum class FITImportError {
    notFIT,    // too short for a header, no ".FIT" signature, or a header size other than 12 or 14
    truncated, // the data ends inside a record, or uses a local message type never defined
    badCRC,    // the file CRC does not match the header and data
};

} // namespace zuvo::formats
