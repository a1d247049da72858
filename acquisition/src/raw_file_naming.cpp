#include "acquisition/raw_file_naming.h"

#include <cstdio>

#include "acquisition/raw_file_header.h"
#include "platform/gbk_text.h"

namespace sundrel::acquisition {

std::string timestampText(const std::tm& localTime) {
    char text[64];
    std::snprintf(text, sizeof text, "%4d%02d%02d%02d%02d%02d", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min,
                  localTime.tm_sec);
    return text;
}

RawFileNames makeRawFileNames(std::string_view timestamp, std::string_view leftNameEdit,
                              std::string_view rightNameEdit) {
    RawFileNames names;
    names.left = leftNameEdit.empty() ? std::string(timestamp) + "_left" + ".raw"
                                      : std::string(leftNameEdit);
    names.right = rightNameEdit.empty() ? std::string(timestamp) + "_right" + ".raw"
                                        : std::string(rightNameEdit);
    return names;
}

std::string storageFolder(std::string_view folderEdit) {
    return std::string(folderEdit.empty() ? kDefaultStorageFolder : folderEdit);
}

std::string rawFilePath(std::string_view folder, std::string_view fileName) {
    std::string path;
    path.reserve(folder.size() + 1 + fileName.size());
    path.append(folder).append("/").append(fileName);
    return path;
}

std::string headerFilePath(const RawFileHeader& header) {
    return rawFilePath(
        platform::gbkToUtf8(platform::readGbkField(header.folder, sizeof header.folder)),
        platform::gbkToUtf8(platform::readGbkField(header.fileName, sizeof header.fileName)));
}

}  // namespace sundrel::acquisition
