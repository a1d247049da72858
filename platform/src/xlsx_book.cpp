#include "platform/xlsx_book.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <pugixml.hpp>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "platform/atomic_file.h"
#include "platform/xlsx_address.h"
#include "platform/xlsx_text.h"

namespace sundrel::platform {
namespace {

// A part bigger than this is taken for a damaged or hostile archive rather
// than read into memory.
constexpr zip_uint64_t kMaxPartBytes = 256u * 1024u * 1024u;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// Opens a zip archive held in `bytes` for reading; the bytes must outlive it.
Archive openArchive(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (archive == nullptr && source != nullptr) {
        zip_source_free(source);
    }
    zip_error_fini(&error);
    return Archive(archive);
}

std::optional<std::string> readEntry(zip_t* archive, zip_uint64_t index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        stat.size > kMaxPartBytes) {
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string content(stat.size, '\0');
    zip_uint64_t done = 0;
    while (done < stat.size) {
        const zip_int64_t n = zip_fread(file, content.data() + done, stat.size - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<zip_uint64_t>(n);
    }
    zip_fclose(file);
    if (done != stat.size) {
        return std::nullopt;
    }
    return content;
}

// Part names compare without regard to case in a package.
std::optional<zip_uint64_t> locate(zip_t* archive, const std::string& partName) {
    const zip_int64_t index = zip_name_locate(archive, partName.c_str(), ZIP_FL_NOCASE);
    if (index < 0) {
        return std::nullopt;
    }
    return static_cast<zip_uint64_t>(index);
}

std::optional<std::string> readPart(zip_t* archive, const std::string& partName) {
    const auto index = locate(archive, partName);
    return index ? readEntry(archive, *index) : std::nullopt;
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

struct Relationship {
    std::string id;
    std::string type;
    std::string partName;  // resolved against the source part's folder
};

// Resolves a relationship target: absolute ("/xl/workbook.xml") from the
// package root, otherwise relative to the folder of the source part.
std::string resolveTarget(const std::string& sourceFolder, std::string_view target) {
    std::string joined = !target.empty() && target.front() == '/'
                             ? std::string(target.substr(1))
                             : sourceFolder + std::string(target);
    std::vector<std::string> segments;
    std::size_t at = 0;
    while (at <= joined.size()) {
        const auto slash = std::min(joined.find('/', at), joined.size());
        const std::string segment = joined.substr(at, slash - at);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        at = slash + 1;
    }
    std::string partName;
    for (const std::string& segment : segments) {
        partName += (partName.empty() ? "" : "/") + segment;
    }
    return partName;
}

std::string folderOf(const std::string& partName) {
    const auto slash = partName.rfind('/');
    return slash == std::string::npos ? std::string() : partName.substr(0, slash + 1);
}

// The relationships of `partName` ("" for the package), from its .rels part.
std::vector<Relationship> readRelationships(zip_t* archive, const std::string& partName) {
    const std::string folder = folderOf(partName);
    const std::string file = partName.substr(folder.size());
    const auto xml = readPart(archive, folder + "_rels/" + file + ".rels");
    std::vector<Relationship> relationships;
    pugi::xml_document document;
    if (!xml || !document.load_buffer(xml->data(), xml->size())) {
        return relationships;
    }
    for (const pugi::xml_node node : document.document_element().children()) {
        if (xlsxLocalName(node.name()) != "Relationship" ||
            std::string_view(node.attribute("TargetMode").value()) == "External") {
            continue;
        }
        relationships.push_back({node.attribute("Id").value(), node.attribute("Type").value(),
                                 resolveTarget(folder, node.attribute("Target").value())});
    }
    return relationships;
}

const Relationship* findByType(const std::vector<Relationship>& relationships,
                               std::string_view typeTail) {
    for (const Relationship& relationship : relationships) {
        if (endsWith(relationship.type, typeTail)) {
            return &relationship;
        }
    }
    return nullptr;
}

// The relationship id of a <sheet>: its r:id attribute, whatever the
// prefix of the relationships namespace is.
std::string_view sheetRelationshipId(const pugi::xml_node& sheet) {
    for (const pugi::xml_attribute attribute : sheet.attributes()) {
        const std::string_view name = attribute.name();
        if (name.find(':') != std::string_view::npos && xlsxLocalName(attribute.name()) == "id") {
            return attribute.value();
        }
    }
    return {};
}

}  // namespace

struct XlsxBook::Impl {
    struct SheetEntry {
        zip_uint64_t partIndex = 0;        // entry of the worksheet part in the archive
        std::unique_ptr<XlsxSheet> sheet;  // nullptr for a sheet that is not a worksheet
    };

    std::string bytes;  // the loaded file, which later saves copy unchanged parts from
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<SheetEntry> sheets;
    std::optional<zip_uint64_t> stylesIndex;  // entry of the styles part
    std::unique_ptr<XlsxStyles> styles;
    bool loaded = false;

    bool parse(zip_t* archive);
    std::optional<std::string> package() const;
};

bool XlsxBook::Impl::parse(zip_t* archive) {
    const auto packageRelationships = readRelationships(archive, "");
    const Relationship* office = findByType(packageRelationships, "/officeDocument");
    const std::string workbookPart = office != nullptr ? office->partName : "xl/workbook.xml";
    const auto workbookXml = readPart(archive, workbookPart);
    pugi::xml_document workbook;
    if (!workbookXml || !workbook.load_buffer(workbookXml->data(), workbookXml->size()) ||
        xlsxLocalName(workbook.document_element().name()) != "workbook") {
        return false;
    }
    const auto relationships = readRelationships(archive, workbookPart);

    auto sharedStrings = std::make_shared<std::vector<std::string>>();
    if (const Relationship* strings = findByType(relationships, "/sharedStrings")) {
        const auto xml = readPart(archive, strings->partName);
        auto items = xml ? parseSharedStrings(*xml) : std::nullopt;
        if (!items) {
            return false;
        }
        *sharedStrings = std::move(*items);
    }

    if (const Relationship* part = findByType(relationships, "/styles")) {
        stylesIndex = locate(archive, part->partName);
        const auto xml = stylesIndex ? readEntry(archive, *stylesIndex) : std::nullopt;
        styles = xml ? XlsxStyles::fromXml(*xml) : nullptr;
    }

    for (const pugi::xml_node list : workbook.document_element().children()) {
        if (xlsxLocalName(list.name()) != "sheets") {
            continue;
        }
        for (const pugi::xml_node node : list.children()) {
            if (xlsxLocalName(node.name()) != "sheet") {
                continue;
            }
            SheetEntry entry;
            const std::string_view id = sheetRelationshipId(node);
            for (const Relationship& relationship : relationships) {
                if (relationship.id != id || !endsWith(relationship.type, "/worksheet")) {
                    continue;
                }
                const auto index = locate(archive, relationship.partName);
                const auto xml = index ? readEntry(archive, *index) : std::nullopt;
                entry.sheet = xml ? XlsxSheet::fromXml(*xml, sharedStrings) : nullptr;
                if (!entry.sheet) {
                    return false;  // a worksheet the workbook lists but we cannot read
                }
                entry.partIndex = *index;
                break;
            }
            sheets.push_back(std::move(entry));
        }
    }
    return true;
}

// The saved package: every entry of the loaded archive in its order, edited
// worksheets as new XML and all other entries copied as stored.
std::optional<std::string> XlsxBook::Impl::package() const {
    const Archive source = openArchive(bytes);
    if (!source) {
        return std::nullopt;
    }
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* output = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* target =
        output != nullptr ? zip_open_from_source(output, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (target == nullptr) {
        if (output != nullptr) {
            zip_source_free(output);
        }
        return std::nullopt;
    }
    zip_source_keep(output);  // read back after the archive is closed

    std::deque<std::string> editedParts;  // must stay in place until zip_close
    bool ok = true;
    const zip_int64_t count = zip_get_num_entries(source.get(), 0);
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_init(&stat);
        const char* name = zip_get_name(source.get(), index, 0);
        if (name == nullptr || zip_stat_index(source.get(), index, 0, &stat) != 0) {
            ok = false;
            break;
        }
        if (endsWith(name, "/")) {
            ok = zip_dir_add(target, name, ZIP_FL_ENC_UTF_8) >= 0;
            continue;
        }
        const std::string* edited = nullptr;
        for (const SheetEntry& entry : sheets) {
            if (entry.sheet && entry.partIndex == index && entry.sheet->modified()) {
                edited = &editedParts.emplace_back(entry.sheet->toXml());
            }
        }
        if (styles && styles->modified() && stylesIndex == index) {
            edited = &editedParts.emplace_back(styles->toXml());
        }
        zip_source_t* data = nullptr;
        if (edited != nullptr) {
            data = zip_source_buffer(target, edited->data(), edited->size(), 0);
        } else {
            data = zip_source_zip(target, source.get(), index, 0, 0, -1);
        }
        const zip_int64_t added =
            data != nullptr ? zip_file_add(target, name, data, ZIP_FL_ENC_UTF_8) : -1;
        if (added < 0) {
            if (data != nullptr) {
                zip_source_free(data);
            }
            ok = false;
            break;
        }
        if (edited != nullptr) {
            const auto addedIndex = static_cast<zip_uint64_t>(added);
            ok = zip_set_file_compression(target, addedIndex, ZIP_CM_DEFLATE, 0) == 0 &&
                 ((stat.valid & ZIP_STAT_MTIME) == 0 ||
                  zip_file_set_mtime(target, addedIndex, stat.mtime, 0) == 0);
        }
    }
    if (!ok || zip_close(target) != 0) {
        zip_discard(target);  // a failed zip_close leaves the archive open
        zip_source_free(output);
        return std::nullopt;
    }

    std::optional<std::string> content;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(output, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0 &&
        zip_source_open(output) == 0) {
        content.emplace(stat.size, '\0');
        const zip_int64_t n = zip_source_read(output, content->data(), stat.size);
        if (n < 0 || static_cast<zip_uint64_t>(n) != stat.size) {
            content.reset();
        }
        zip_source_close(output);
    }
    zip_source_free(output);
    return content;
}

XlsxBook::XlsxBook() : impl_(std::make_unique<Impl>()) {}
XlsxBook::~XlsxBook() = default;
XlsxBook::XlsxBook(XlsxBook&&) noexcept = default;
XlsxBook& XlsxBook::operator=(XlsxBook&&) noexcept = default;

bool XlsxBook::load(const std::string& path) {
    impl_ = std::make_unique<Impl>();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return false;
    }
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(bytes);
    impl->device = info.st_dev;
    impl->inode = info.st_ino;
    const Archive archive = openArchive(impl->bytes);
    if (!archive || !impl->parse(archive.get())) {
        return false;
    }
    impl->loaded = true;
    impl_ = std::move(impl);
    return true;
}

bool XlsxBook::loaded() const {
    return impl_ && impl_->loaded;
}

std::size_t XlsxBook::sheetCount() const {
    return impl_ ? impl_->sheets.size() : 0;
}

XlsxSheet* XlsxBook::sheet(std::size_t index) {
    return impl_ && index < impl_->sheets.size() ? impl_->sheets[index].sheet.get() : nullptr;
}

const XlsxSheet* XlsxBook::sheet(std::size_t index) const {
    return impl_ && index < impl_->sheets.size() ? impl_->sheets[index].sheet.get() : nullptr;
}

bool XlsxBook::setCellFill(XlsxSheet& sheet, int row, int column, std::uint32_t rgb) {
    if (!impl_ || !impl_->styles || cellAddress(row, column).empty()) {
        return false;  // and no format added for a cell that cannot exist
    }
    const auto style = impl_->styles->withSolidFill(sheet.style(row, column), rgb);
    return style && sheet.setStyle(row, column, *style);
}

std::optional<std::uint32_t> XlsxBook::cellFill(const XlsxSheet& sheet, int row, int column) const {
    if (!impl_ || !impl_->styles) {
        return std::nullopt;
    }
    return impl_->styles->solidFill(sheet.style(row, column));
}

const XlsxStyles* XlsxBook::styles() const {
    return impl_ ? impl_->styles.get() : nullptr;
}

bool XlsxBook::save(const std::string& path) const {
    if (!loaded()) {
        return false;
    }
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && existing.st_dev == impl_->device &&
        existing.st_ino == impl_->inode) {
        return false;
    }
    const auto content = impl_->package();
    return content && replaceFileAtomically(path, *content);
}

}  // namespace sundrel::platform
