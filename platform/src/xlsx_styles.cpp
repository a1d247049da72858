#include "platform/xlsx_styles.h"

#include <pugixml.hpp>

#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/xlsx_text.h"

namespace sundrel::platform {
namespace {

constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata |
                                 pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

pugi::xml_node childNamed(const pugi::xml_node& parent, std::string_view localName) {
    for (const pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && xlsxLocalName(child.name()) == localName) {
            return child;
        }
    }
    return {};
}

std::vector<pugi::xml_node> childrenNamed(const pugi::xml_node& parent,
                                          std::string_view localName) {
    std::vector<pugi::xml_node> found;
    for (const pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && xlsxLocalName(child.name()) == localName) {
            found.push_back(child);
        }
    }
    return found;
}

std::optional<unsigned> parseIndex(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

void setCount(pugi::xml_node list, std::size_t count) {
    pugi::xml_attribute attribute = list.attribute("count");
    if (!attribute) {
        attribute = list.append_attribute("count");
    }
    attribute = static_cast<unsigned>(count);
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

struct XlsxStyles::Impl {
    pugi::xml_document document;
    pugi::xml_node fills;
    pugi::xml_node cellXfs;
    std::string prefix;  // namespace prefix of the part's elements, "" or "x:"
    std::map<std::pair<unsigned, std::uint32_t>, unsigned> filled;
    bool modified = false;

    std::string elementName(std::string_view localName) const {
        return prefix + std::string(localName);
    }
};

XlsxStyles::XlsxStyles(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

XlsxStyles::~XlsxStyles() = default;

std::unique_ptr<XlsxStyles> XlsxStyles::fromXml(std::string_view xml) {
    auto impl = std::make_unique<Impl>();
    if (!impl->document.load_buffer(xml.data(), xml.size(), kParseFlags, pugi::encoding_auto)) {
        return nullptr;
    }
    const pugi::xml_node root = impl->document.document_element();
    const std::string_view rootName = root.name();
    if (xlsxLocalName(root.name()) != "styleSheet") {
        return nullptr;
    }
    impl->prefix =
        std::string(rootName.substr(0, rootName.size() - std::string_view("styleSheet").size()));
    impl->fills = childNamed(root, "fills");
    impl->cellXfs = childNamed(root, "cellXfs");
    if (!impl->fills || !impl->cellXfs) {
        return nullptr;
    }
    const pugi::xml_node declaration = impl->document.first_child();
    if (declaration.type() == pugi::node_declaration && declaration.attribute("encoding")) {
        declaration.attribute("encoding") = "UTF-8";
    }
    return std::unique_ptr<XlsxStyles>(new XlsxStyles(std::move(impl)));
}

std::size_t XlsxStyles::formatCount() const {
    return childrenNamed(impl_->cellXfs, "xf").size();
}

std::optional<unsigned> XlsxStyles::withSolidFill(unsigned style, std::uint32_t rgb) {
    rgb &= 0xFFFFFFu;
    const auto key = std::make_pair(style, rgb);
    if (const auto known = impl_->filled.find(key); known != impl_->filled.end()) {
        return known->second;
    }
    const std::vector<pugi::xml_node> formats = childrenNamed(impl_->cellXfs, "xf");
    if (style >= formats.size()) {
        return std::nullopt;
    }
    // <fill><patternFill patternType="solid"><fgColor rgb="FFRRGGBB"/>
    // <bgColor indexed="64"/></patternFill></fill>, as spreadsheet programs
    // write a plain cell colour.
    const std::size_t fillIndex = childrenNamed(impl_->fills, "fill").size();
    pugi::xml_node pattern = impl_->fills.append_child(impl_->elementName("fill").c_str())
                                 .append_child(impl_->elementName("patternFill").c_str());
    pattern.append_attribute("patternType") = "solid";
    char argb[9];
    std::snprintf(argb, sizeof argb, "FF%06X", static_cast<unsigned>(rgb));
    pattern.append_child(impl_->elementName("fgColor").c_str()).append_attribute("rgb") = argb;
    pattern.append_child(impl_->elementName("bgColor").c_str()).append_attribute("indexed") = 64;
    setCount(impl_->fills, fillIndex + 1);

    pugi::xml_node format = impl_->cellXfs.append_copy(formats[style]);
    for (const char* name : {"fillId", "applyFill"}) {
        if (!format.attribute(name)) {
            format.append_attribute(name);
        }
    }
    format.attribute("fillId") = static_cast<unsigned>(fillIndex);
    format.attribute("applyFill") = 1;
    const auto index = static_cast<unsigned>(formats.size());
    setCount(impl_->cellXfs, formats.size() + 1);
    impl_->filled.emplace(key, index);
    impl_->modified = true;
    return index;
}

std::optional<std::uint32_t> XlsxStyles::solidFill(unsigned style) const {
    const std::vector<pugi::xml_node> formats = childrenNamed(impl_->cellXfs, "xf");
    if (style >= formats.size()) {
        return std::nullopt;
    }
    const auto fillIndex = parseIndex(formats[style].attribute("fillId").value());
    const std::vector<pugi::xml_node> fills = childrenNamed(impl_->fills, "fill");
    if (!fillIndex || *fillIndex >= fills.size()) {
        return std::nullopt;
    }
    const pugi::xml_node pattern = childNamed(fills[*fillIndex], "patternFill");
    if (std::string_view(pattern.attribute("patternType").value()) != "solid") {
        return std::nullopt;
    }
    const std::string_view argb = childNamed(pattern, "fgColor").attribute("rgb").value();
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(argb.data(), argb.data() + argb.size(), value, 16);
    if (argb.size() != 8 || error != std::errc() || end != argb.data() + argb.size()) {
        return std::nullopt;
    }
    return value & 0xFFFFFFu;
}

bool XlsxStyles::modified() const {
    return impl_->modified;
}

std::string XlsxStyles::toXml() const {
    StringWriter writer;
    impl_->document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.text;
}

}  // namespace sundrel::platform
