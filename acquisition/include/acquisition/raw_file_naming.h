#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace sundrel::acquisition {

// Storage folder used when the ribbon's folder edit is empty: the working directory.
inline constexpr std::string_view kDefaultStorageFolder = "./";

// "%4d%02d%02d%02d%02d%02d" of a local time: year, month, day, hour, minute, second.
std::string timestampText(const std::tm& localTime);

struct RawFileNames {
    std::string left;
    std::string right;
};

// Names of one run's two files: T + "_left.raw" and T + "_right.raw", unless the
// operator typed a name for a side, which is then taken verbatim.
RawFileNames makeRawFileNames(std::string_view timestamp, std::string_view leftNameEdit,
                              std::string_view rightNameEdit);

// The folder as stored in the header: the edit's text, or the default folder.
std::string storageFolder(std::string_view folderEdit);

// Full path of a file: folder + "/" + name.
std::string rawFilePath(std::string_view folder, std::string_view fileName);

struct RawFileHeader;
// The file a header names: its folder and file name (GBK in the record) as a
// path of this system (UTF-8).
std::string headerFilePath(const RawFileHeader& header);

}  // namespace sundrel::acquisition
