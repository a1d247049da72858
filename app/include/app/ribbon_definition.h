#pragma once

#include <string>
#include <vector>

namespace sundrel::app {

enum class RibbonControlKind { Button, MenuButton, Combo, Edit, Check };

// One control of the ribbon. Controls without an id (0) are never read.
struct RibbonControlDef {
    int id;
    RibbonControlKind kind;
    std::string label;
    std::vector<std::string> items;  // combo items, or the menu of a menu button
    std::vector<int> itemIds;        // command ids of a menu button's items
    std::string defaultText;         // selected item or edit text at start
};

// A panel lays its controls out down columns of `rows` controls each.
struct RibbonPanelDef {
    std::string title;
    std::vector<RibbonControlDef> controls;
    int rows = 3;
};

struct RibbonCategoryDef {
    std::string title;
    std::vector<RibbonPanelDef> panels;
};

// The categories "采集", "分析", "标定", in this order.
const std::vector<RibbonCategoryDef>& ribbonCategories();

// The application button "文件" and its menu (looks come from the look table).
inline constexpr const char* kApplicationButtonLabel = "文件";
struct ApplicationMenuItem {
    int id;
    std::string label;
};
const std::vector<ApplicationMenuItem>& applicationMenu();
inline constexpr const char* kLookMenuLabel = "样式";

}  // namespace sundrel::app
