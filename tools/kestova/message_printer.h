#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "kestova/kestova.h"

namespace kestova::cli {

// Prints the messages of one Analyse call as they arrive: JSON Lines, or a
// readable summary once the file is done.
class MessagePrinter {
public:
    MessagePrinter(std::FILE* out, bool json, bool arrays)
        : out_(out), json_(json), arrays_(arrays) {}

    void beginFile(const std::string& path);
    void onMessage(const PanelMessage& message, intptr_t lparam);
    void endFile(const std::string& path, int result);

private:
    void printJson(const PanelMessage& message, intptr_t lparam);
    void collect(const PanelMessage& message, intptr_t lparam);
    void printSummary(const std::string& path, int result);

    std::FILE* out_;
    bool json_;
    bool arrays_;

    // What the summary needs, copied while each message is handled.
    bool haveInfo_ = false;
    AnalysisInfoBlock info_{};
    intptr_t side_ = 0;
    std::size_t samples_ = 0;
    std::vector<double> ratios_;
    std::vector<SectionRecord> sections_;
};

}  // namespace kestova::cli
