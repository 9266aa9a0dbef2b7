#pragma once

namespace zuvo::formats {

enum class BrytonTrackError {
    malformed, // not a whole number of 16-byte records, or fewer than two
};

} // namespace zuvo::formats
