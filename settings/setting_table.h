#pragma once
// The ten settings: where each is kept in Quillon.ini, its value at first start (the
// dialog's initial value), the value a file without it gives (the key default) and its
// range after a load. The store, the dialog and every card read them from here.
#include <QByteArray>

namespace quillon {

struct NumberSetting {
    const char* section;
    const char* key;
    int initial;
    int keyDefault;
    int min;
    int max;
    int step; // of the dialog's number fields; 0 for the others

    constexpr int clamp(int v) const { return v < min ? min : (v > max ? max : v); }
};

namespace setting_table {

inline constexpr const char* FileSection = "File";
inline constexpr const char* FontSection = "Font";
inline constexpr const char* OptionSection = "Option";

inline constexpr const char* UserFileKey = "UserFile";
inline constexpr const char* NameKey = "Name";
inline constexpr NumberSetting Charset{FontSection, "Charset", 128, 128, 0, 255, 0};
inline constexpr NumberSetting AutoClose{OptionSection, "AutoClose", 0, 0, 0, 1, 0};
inline constexpr NumberSetting Silent{OptionSection, "Silent", 0, 0, 0, 1, 0};
inline constexpr NumberSetting DiceMode{OptionSection, "DiceMode", 1, 1, -1, 2, 0};
inline constexpr NumberSetting Original{OptionSection, "Original", 3, 1, -1, 3, 0};
inline constexpr NumberSetting Wait{OptionSection, "Wait", 120, 70, 0, 500, 5};
inline constexpr NumberSetting StartWait{OptionSection, "StartWait", 1500, 1500, 500, 5000, 5};
inline constexpr NumberSetting Magnify{OptionSection, "Magnify", 70, 70, 0, 100, 5};

// Face names are LOGFONT-sized: at most 31 bytes.
inline constexpr int FaceNameLimit = 31;

} // namespace setting_table

// "ＭＳ 明朝" in Shift-JIS: the face of the title card until the user picks another.
QByteArray defaultFaceName();

} // namespace quillon
