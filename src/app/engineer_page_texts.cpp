#include "app/engineer_page_texts.h"

#include <cstdlib>

namespace zelt {
namespace {

struct EngineerTextRow {
  std::string_view english;
  std::string_view chinese;
};

// Indexed by text number.
constexpr EngineerTextRow kEngineerTexts[kEngineerTextCount] = {
    {"Office Mode", "办公模式"},                           // 0
    {"Gaming Mode", "游戏模式"},                           // 1
    {"Advanced", "高级"},                                  // 2
    {"Breathing Light", "呼吸灯"},                         // 3
    {"Macro", "宏"},                                       // 4
    {"Engineer Mode", "工程模式"},                         // 5
    {"Load", "载入"},                                      // 6
    {"Save", "保存"},                                      // 7
    {"Test Keys Position", "测试按键位置"},                // 8
    {"Default", "默认"},                                   // 9
    {"Apply", "应用"},                                     // 10
    {"Import Base Macro", "导入基本宏"},                   // 11
    {"Import Fire Macro", "导入射击宏"},                   // 12
    {"Operation", "操作"},                                 // 13
    {"Engineer", "工程"},                                  // 14
    {"LED Type", "灯类型"},                                // 15
    {"MCU LED", "MCU 灯"},                                 // 16
    {"RB LED", "RB 灯"},                                   // 17
    {"Sync LED", "同步灯"},                                // 18
    {"Breath LED", "呼吸 LED"},                            // 19
    {"LED Status", "灯状态"},                              // 20
    {"On", "开"},                                          // 21
    {"Off", "关"},                                         // 22
    {"LED Switch(M+CPI)", "灯开关(M+CPI)"},                // 23
    {"Fire Function", "射击功能"},                         // 24
    {"Fn+Left Key", "Fn+左键"},                            // 25
    {"Left Key", "左键"},                                  // 26
    {"Fire Mode", "射击模式"},                             // 27
    {"Fire Count:", "射击次数:"},                          // 28
    {"Fire Time:", "射击时间:"},                           // 29
    {"LED Mode(L+CPI)", "灯效模式(L+CPI)"},                // 30
    {"MCU LED Ligth Mode", "MCU 灯亮度模式"},              // 31
    {"All Ligth", "全亮"},                                 // 32
    {"Half Ligth", "半亮"},                                // 33
    {"MCU LED CPI Color Setting", "MCU 灯 CPI 颜色设置"},  // 34
    {"Vendor ID:", "厂商 ID:"},                            // 35
    {"Product ID:", "产品 ID:"},                           // 36
    {"MCU LED Setting", "MCU 灯设置"},                     // 37
    {"LED Number:", "灯数量:"},                            // 38
    {"Current Mode:", "当前模式:"},                        // 39
    {"Mode 1", "模式 1"},                                  // 40
    {"Mode 2", "模式 2"},                                  // 41
    {"Mode 3", "模式 3"},                                  // 42
    {"Mode 4", "模式 4"},                                  // 43
    {"Mode 5", "模式 5"},                                  // 44
    {"Mode 6", "模式 6"},                                  // 45
    {"Mode 7", "模式 7"},                                  // 46
    {"LED Step:", "灯步进:"},                              // 47
    {"RB LED Mode", "RB 灯模式"},                          // 48
    {"Current Mode:", "当前模式:"},                        // 49
    {"Colors Breath Fast", "多彩呼吸 快"},                 // 50
    {"Colors Breath Middle", "多彩呼吸 中"},               // 51
    {"Colors Breath Slow", "多彩呼吸 慢"},                 // 52
    {"CPI Breath Fast", "CPI 呼吸 快"},                    // 53
    {"CPI Breath Middle", "CPI 呼吸 中"},                  // 54
    {"CPI Breath Slow", "CPI 呼吸 慢"},                    // 55
    {"OFF", "关闭"},                                       // 56
    {"Switch Key Mode", "切换按键模式"},                   // 57
    {"Press Middle Key", "按中键"},                        // 58
    {"Press CPI Key", "按 CPI 键"},                        // 59
    {"Press Gun Key", "按枪键"},                           // 60
    {"Is Save Key Mode", "是否保存按键模式"},              // 61
    {"Save", "保存"},                                      // 62
    {"No Save", "不保存"},                                 // 63
    {"Sensor Ori:", "传感器方向:"},                        // 64
    {"0°", "0°"},                                          // 65
    {"90°", "90°"},                                        // 66
    {"180°", "180°"},                                      // 67
    {"270°", "270°"},                                      // 68
    {"X Reverse", "X 反向"},                               // 69
    {"Y Reverse", "Y 反向"},                               // 70
    {"XY Swap XY Reverse", "XY 交换 XY 反向"},             // 71
    {"XY Swap XY NoReverse", "XY 交换 XY 不反向"},         // 72
    {"Keys Number", "按键数量"},                           // 73
    {"6-Keys", "6 键"},                                    // 74
    {"9-Keys", "9 键"},                                    // 75
    {"CPI", "CPI"},                                        // 76
    {"CPI Steps:", "CPI 档数:"},                           // 77
    {"Current CPI:", "当前 CPI:"},                         // 78
    {"CPI 1:", "CPI 1 档:"},                               // 79
    {"CPI 2:", "CPI 2 档:"},                               // 80
    {"CPI 3:", "CPI 3 档:"},                               // 81
    {"CPI 4:", "CPI 4 档:"},                               // 82
    {"CPI 5:", "CPI 5 档:"},                               // 83
    {"CPI 6:", "CPI 6 档:"},                               // 84
    {"CPI 7:", "CPI 7 档:"},                               // 85
    {"AIM Key:", "瞄准键:"},                               // 86
    {"Key Mode:", "按键模式:"},                            // 87
    {"Key Mode1", "按键模式1"},                            // 88
    {"Key Mode2", "按键模式2"},                            // 89
    {"Gun Parameter Setting", "枪参数设置"},               // 90
    {"Gun Start Index:", "枪起始序号:"},                   // 91
    {"Gun Stop Index:", "枪结束序号:"},                    // 92
    {"Add Gun", "添加枪"},                                 // 93
    {"Delect Gun", "删除枪"},                              // 94
    {"MCU LED Mode Select", "MCU 灯模式选择"},             // 95
    {"Fire Macro Color Setting", "射击宏颜色设置"},        // 96
    {"Macro1 R:", "宏1 红:"},                              // 97
    {"Macro1 G:", "宏1 绿:"},                              // 98
    {"Macro1 B:", "宏1 蓝:"},                              // 99
    {"Macro2 R:", "宏2 红:"},                              // 100
    {"Macro2 G:", "宏2 绿:"},                              // 101
    {"Macro2 B:", "宏2 蓝:"},                              // 102
    {"Macro3 R:", "宏3 红:"},                              // 103
    {"Macro3 G:", "宏3 绿:"},                              // 104
    {"Macro3 B:", "宏3 蓝:"},                              // 105
    {"Macro4 R:", "宏4 红:"},                              // 106
    {"Macro4 G:", "宏4 绿:"},                              // 107
    {"Macro4 B:", "宏4 蓝:"},                              // 108
    {"Macro5 R:", "宏5 红:"},                              // 109
    {"Macro5 G:", "宏5 绿:"},                              // 110
    {"Macro5 B:", "宏5 蓝:"},                              // 111
    {"Macro6 R:", "宏6 红:"},                              // 112
    {"Macro6 G:", "宏6 绿:"},                              // 113
    {"Macro6 B:", "宏6 蓝:"},                              // 114
    {"Macro7 R:", "宏7 红:"},                              // 115
    {"Macro7 G:", "宏7 绿:"},                              // 116
    {"Macro7 B:", "宏7 蓝:"},                              // 117
    {"Macro8 R:", "宏8 红:"},                              // 118
    {"Macro8 G:", "宏8 绿:"},                              // 119
    {"Macro8 B:", "宏8 蓝:"},                              // 120
    {"Macro9 R:", "宏9 红:"},                              // 121
    {"Macro9 G:", "宏9 绿:"},                              // 122
    {"Macro9 B:", "宏9 蓝:"},                              // 123
    {"Macro10 R:", "宏10 红:"},                            // 124
    {"Macro10 G:", "宏10 绿:"},                            // 125
    {"Macro10 B:", "宏10 蓝:"},                            // 126
    {"Fire Macro Y Offset", "射击宏 Y 偏移"},              // 127
    {"Macro1 Y Offset:", "宏1 Y 偏移:"},                   // 128
    {"Macro2 Y Offset:", "宏2 Y 偏移:"},                   // 129
    {"Macro3 Y Offset:", "宏3 Y 偏移:"},                   // 130
    {"Macro4 Y Offset:", "宏4 Y 偏移:"},                   // 131
    {"Macro5 Y Offset:", "宏5 Y 偏移:"},                   // 132
    {"Macro6 Y Offset:", "宏6 Y 偏移:"},                   // 133
    {"Macro7 Y Offset:", "宏7 Y 偏移:"},                   // 134
    {"Macro8 Y Offset:", "宏8 Y 偏移:"},                   // 135
    {"Macro9 Y Offset:", "宏9 Y 偏移:"},                   // 136
    {"Macro10 Y Offset:", "宏10 Y 偏移:"},                 // 137
    {"Notes: ", "备注: "},                                 // 138
};

struct LocaleEntry {
  std::string_view name;  // language, or language and territory
  std::uint32_t id;
};

constexpr LocaleEntry kLocales[] = {
    {"zh_CN", 2052}, {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh_SG", 4100}, {"zh_MO", 5124},
    {"zh", 2052},    {"en_US", 1033}, {"en_GB", 2057}, {"de_DE", 1031}, {"fr_FR", 1036},
    {"ja_JP", 1041}, {"ko_KR", 1042}, {"ru_RU", 1049}, {"es_ES", 3082}, {"it_IT", 1040}};

}  // namespace

EngineerTextColumn EngineerTextColumnForLocale(std::uint32_t locale_id) {
  return locale_id == kLocaleChinesePrc ? EngineerTextColumn::kChinese
                                        : EngineerTextColumn::kEnglish;
}

std::string_view EngineerText(int number, EngineerTextColumn column) {
  if (number < 0 || number >= kEngineerTextCount) return {};
  const EngineerTextRow& row = kEngineerTexts[number];
  return column == EngineerTextColumn::kChinese ? row.chinese : row.english;
}

std::uint32_t LocaleIdFromPosixName(std::string_view name) {
  // "language[_territory][.codeset][@modifier]": the codeset and modifier do not matter here.
  const std::size_t end = name.find_first_of(".@");
  if (end != std::string_view::npos) name = name.substr(0, end);
  for (const LocaleEntry& entry : kLocales) {
    if (entry.name == name) return entry.id;
  }
  return 0;
}

std::uint32_t LocaleIdFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LocaleIdFromPosixName(value);
  }
  return 0;
}

}  // namespace zelt
