#include "app/ribbon_definition.h"

#include "core/ribbon_ids.h"

namespace sundrel::app {

using namespace core;
namespace {

using Kind = RibbonControlKind;

std::vector<std::string> ports() {
    std::vector<std::string> items;
    for (int n = 1; n <= 10; ++n) {
        items.push_back("COM" + std::to_string(n));
    }
    return items;
}

const std::vector<std::string> kBauds = {"9600", "19200", "38400", "115200"};
const std::vector<std::string> kParities = {"ODD", "EVEN", "NONE"};
const std::vector<std::string> kDataBits = {"5", "6", "7", "8"};
const std::vector<std::string> kStopBits = {"1", "2"};

RibbonControlDef button(int id, std::string label) {
    return {id, Kind::Button, label, {}, {}, ""};
}
RibbonControlDef edit(int id, std::string label, std::string initial = "") {
    return {id, Kind::Edit, label, {}, {}, initial};
}
RibbonControlDef combo(int id, std::string label, std::vector<std::string> items,
                       std::string initial = "") {
    return {id, Kind::Combo, label, items, {}, initial};
}
RibbonControlDef check(int id, std::string label) {
    return {id, Kind::Check, label, {}, {}, ""};
}

}  // namespace

const std::vector<RibbonCategoryDef>& ribbonCategories() {
    static const std::vector<RibbonCategoryDef> categories = {
        {"采集",
         {
             {"操作", {button(IDC_BUTTONS_TART, "开始"), button(ID_BUTTON_STOP, "停止")}},
             {"通讯设置",
              {combo(ID_COMBO_PORT_NO_LEFT, "左侧串口号：", ports()),
               combo(IDC_COMBO_RATE, "波特率：", kBauds, "115200"),
               combo(ID_COMBO_CRC, "校验位：", kParities, "NONE"),
               combo(ID_COMBO_PORT_NO_RIGHT, "右侧串口号：", ports()),
               combo(IDC_COMBO_DATA_BITS, "数据位：", kDataBits, "8"),
               combo(ID_COMBO_STOP_BIT, "停止位：", kStopBits)}},
             {"存储设置",
              {edit(ID_FILE_PATH, "存储目录："), edit(ID_EDIT_FILE_NAME_LEFT, "左侧数据文件名称："),
               edit(ID_EDIT_FILE_NAME_RIGHT, "右侧数据文件名称："),
               button(ID_SELECT_PATH, "选择目录")}},
             {"采集信息",
              {edit(ID_LINE_NAME, "线路名称："), edit(ID_OPERATION_DEPARTMENT, "作业单位："),
               edit(ID_OPERATION_STAFF, "作业人员："),
               combo(ID_COMBO_RUN_PATH, "运行方向：", {"前进", "后退"}, "前进"),
               edit(ID_EDIT_KM_POS, "公里标(米)：", "0")}},
         }},
        {"分析",
         {
             {"打开文件",
              {{ID_BTN_OPEN_FILE,
                Kind::MenuButton,
                "文件",
                {"默认文件名", "自定义文件名"},
                {ID_BTN_2FILE, ID_BTN_1FILE},
                ""}}},
             {"报表", {button(ID_BTN_EXPORT_REPORT, "输出报表")}},
             {"峰峰值阈值设置/mm",
              {edit(ID_THRESHOLD_30_100, "30-100："), edit(ID_THRESHOLD_100_300, "100-300："),
               edit(ID_THRESHOLD_300_1000, "300-1000："),
               edit(ID_THRESHOLD_1000_3000, "1000-3000：")}},
         }},
        {"标定",
         {
             // The same line settings as in "采集": one value, two places to
             // see and change it.
             {"通讯设置",
              {combo(ID_COMBO_PORT_NO_LEFT, "左侧串口号：", ports()),
               combo(IDC_COMBO_RATE, "波特率：", kBauds, "115200"),
               combo(ID_COMBO_CRC, "校验位：", kParities, "NONE"),
               combo(ID_COMBO_PORT_NO_RIGHT, "右侧串口号：", ports()),
               combo(IDC_COMBO_DATA_BITS, "数据位：", kDataBits, "8"),
               combo(ID_COMBO_STOP_BIT, "停止位：", kStopBits)}},
             {"标定测选项", {check(ID_CHECK_LEFT, "标定左侧"), check(ID_CHECK_RIGHT, "标定右侧")}},
             // Two columns: 1# and 2# down the first, 3# and 4# down the second.
             {"传感器编号",
              {check(ID_CHECK_SENSOR1, "1#"), check(ID_CHECK_SENSOR2, "2#"),
               check(ID_CHECK_SENSOR3, "3#"), check(ID_CHECK_SENSOR4, "4#")},
              2},
             {"标定距离", {edit(ID_EDIT_DIS, "距离(mm):", "0")}},
             {"车轮和编码器设置",
              {edit(ID_EDIT_WHEEL_DIA, "车轮直径(mm)："),
               edit(ID_EDIT_ENCODER_NUM, "编码器脉冲数："),
               button(ID_BUTTON_WHEEL_ENCODER_OK, "OK")}},
         }},
    };
    return categories;
}

const std::vector<ApplicationMenuItem>& applicationMenu() {
    static const std::vector<ApplicationMenuItem> items = {
        {ID_FILE_OPEN, "打开"},
        {ID_BTN_MAX_MIN_BUTTON, "最小化/还原功能区"},
        {ID_APP_ABOUT, "关于 Sundrel"},
        {ID_APP_EXIT, "退出"},
    };
    return items;
}

}  // namespace sundrel::app
