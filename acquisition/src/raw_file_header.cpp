#include "acquisition/raw_file_header.h"

#include "platform/gbk_text.h"

namespace sundrel::acquisition {

RawFileHeader makeRawFileHeader() {
    RawFileHeader header{};
    header.magic = kRawFileMagic;
    return header;
}

void setHeaderText(char (&field)[kTextFieldSize], std::string_view gbk) {
    platform::copyToGbkField(field, kTextFieldSize, gbk);
}

}  // namespace sundrel::acquisition
