#include "message_printer.h"

#include <cstring>
#include <string_view>

#include "json_writer.h"
#include "platform/gbk_text.h"

namespace kestova::cli {
namespace {

std::string utf8(const char* field, std::size_t size) {
    return sundrel::platform::gbkToUtf8(sundrel::platform::readGbkField(field, size));
}

template <std::size_t N>
std::string utf8(const char (&field)[N]) {
    return utf8(field, N);
}

const double* doubles(uintptr_t word) {
    return reinterpret_cast<const double*>(word);
}

void arrayField(JsonLine& json, std::string_view name, const double* values, std::size_t count) {
    json.beginArray(name);
    for (std::size_t i = 0; i < count; ++i) {
        json.number(values[i]);
    }
    json.endArray();
}

const char* sideName(intptr_t side) {
    return side == 1 ? "left" : side == 2 ? "right" : "unknown";
}

constexpr const char* kBandNames[4] = {"30-100", "100-300", "300-1000", "1000-3000"};

}  // namespace

void MessagePrinter::beginFile(const std::string&) {
    haveInfo_ = false;
    info_ = {};
    side_ = 0;
    samples_ = 0;
    ratios_.clear();
    sections_.clear();
}

void MessagePrinter::onMessage(const PanelMessage& message, intptr_t lparam) {
    if (json_) {
        printJson(message, lparam);
    } else {
        collect(message, lparam);
    }
}

void MessagePrinter::printJson(const PanelMessage& message, intptr_t lparam) {
    JsonLine json;
    json.beginObject().field("code", message.code).field("lparam", lparam);
    switch (message.code) {
        case KESTOVA_CODE_FILE_INFO: {
            const auto* info = reinterpret_cast<const AnalysisInfoBlock*>(message.data);
            json.textField("lineName", utf8(info->lineName))
                .textField("department", utf8(info->department))
                .textField("staffName", utf8(info->staffName))
                .textField("startTime", utf8(info->startTime))
                .field("forward", info->forward)
                .field("startPosition", info->startPosition)
                .field("endPosition", info->endPosition);
            break;
        }
        case KESTOVA_CODE_PROFILE:
        case KESTOVA_CODE_BAND_30_100:
        case KESTOVA_CODE_BAND_100_300:
        case KESTOVA_CODE_BAND_300_1000:
        case KESTOVA_CODE_BAND_1000_3000:
        case KESTOVA_CODE_EXCEED_RATIOS:
            json.field("count", message.count);
            if (arrays_ || message.code == KESTOVA_CODE_EXCEED_RATIOS) {
                arrayField(json, "data", doubles(message.data), message.count);
                arrayField(json, "axis", doubles(message.axis), message.count);
            }
            break;
        case KESTOVA_CODE_SECTIONS: {
            json.field("count", message.count).beginArray("sections");
            const auto* records = reinterpret_cast<const SectionRecord*>(message.data);
            for (std::size_t s = 0; s < message.count; ++s) {
                const SectionRecord& record = records[s];
                json.beginObject()
                    .textField("range", utf8(record.range))
                    .field("side", record.side)
                    .beginArray("bands");
                for (const BandResult& band : record.bands) {
                    json.beginObject()
                        .field("ratio", band.ratio)
                        .field("peakToPeak", band.peakToPeak)
                        .textField("position", utf8(band.position))
                        .endObject();
                }
                json.endArray().endObject();
            }
            json.endArray();
            break;
        }
        default:
            json.field("count", message.count);
            break;
    }
    json.endObject().writeTo(out_);
}

void MessagePrinter::collect(const PanelMessage& message, intptr_t lparam) {
    switch (message.code) {
        case KESTOVA_CODE_FILE_INFO:
            std::memcpy(&info_, reinterpret_cast<const void*>(message.data), sizeof info_);
            haveInfo_ = true;
            break;
        case KESTOVA_CODE_PROFILE:
            side_ = lparam;
            samples_ = message.count;
            break;
        case KESTOVA_CODE_EXCEED_RATIOS:
            ratios_.assign(doubles(message.data), doubles(message.data) + message.count);
            break;
        case KESTOVA_CODE_SECTIONS: {
            const auto* records = reinterpret_cast<const SectionRecord*>(message.data);
            sections_.assign(records, records + message.count);
            break;
        }
        default:
            break;
    }
}

void MessagePrinter::endFile(const std::string& path, int result) {
    if (json_) {
        JsonLine json;
        json.beginObject()
            .textField("file", path)
            .field("return", result)
            .endObject()
            .writeTo(out_);
    } else {
        printSummary(path, result);
    }
    std::fflush(out_);
}

void MessagePrinter::printSummary(const std::string& path, int result) {
    std::fprintf(out_, "File: %s\n", path.c_str());
    if (result != KESTOVA_OK || !haveInfo_) {
        std::fprintf(out_, "  Analyse returned %d\n\n", result);
        return;
    }
    std::fprintf(out_, "  Line:        %s\n", utf8(info_.lineName).c_str());
    std::fprintf(out_, "  Department:  %s\n", utf8(info_.department).c_str());
    std::fprintf(out_, "  Staff:       %s\n", utf8(info_.staffName).c_str());
    std::fprintf(out_, "  Start time:  %s\n", utf8(info_.startTime).c_str());
    std::fprintf(out_, "  Direction:   %s\n", info_.forward ? "forward" : "backward");
    std::fprintf(out_, "  Positions:   %.3f m to %.3f m\n", info_.startPosition, info_.endPosition);
    std::fprintf(out_, "  Rail:        %s, %zu samples\n", sideName(side_), samples_);
    std::fprintf(out_, "  Exceed ratio (%%):");
    for (std::size_t b = 0; b < ratios_.size() && b < 4; ++b) {
        std::fprintf(out_, "  %s mm %.3f", kBandNames[b], ratios_[b]);
    }
    std::fprintf(out_, "\n  Sections (ratio %%, peak-to-peak mm, longest exceeding run):\n");
    std::fprintf(out_, "    %-18s", "range");
    for (const char* band : kBandNames) {
        std::fprintf(out_, " | %-9s mm %18s", band, "");
    }
    std::fprintf(out_, "\n");
    for (const SectionRecord& record : sections_) {
        std::fprintf(out_, "    %-18s", utf8(record.range).c_str());
        for (const BandResult& band : record.bands) {
            std::fprintf(out_, " | %6.2f %6.3f %-16s", static_cast<double>(band.ratio),
                         static_cast<double>(band.peakToPeak), utf8(band.position).c_str());
        }
        std::fprintf(out_, "\n");
    }
    std::fprintf(out_, "\n");
}

}  // namespace kestova::cli
