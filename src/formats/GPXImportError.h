#pragma once

namespace zuvo::formats {

enum class GPXImportError {
    notGPX, // not well-formed XML anywhere in the file, empty, or a root other than gpx
};

} // namespace zuvo::formats
