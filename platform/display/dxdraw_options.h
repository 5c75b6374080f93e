#pragma once
// The drawing component's options: fifteen members stored as a 16-bit mask, member n
// at bit n, and the option words the program uses.
#include <cstdint>
#include <initializer_list>

namespace quillon {

enum TDXDrawOption : int {
    doFullScreen = 0,
    doNoWindowChange,
    doAllowReboot,
    doWaitVBlank,
    doAllowPalette256,
    doSystemMemory,
    doStretch,
    doCenter,
    doFlip,
    do3D,
    doDirectX7Mode,
    doRetainedMode,
    doHardware,
    doSelectDriver,
    doZBuffer,
};
using TDXDrawOptions = uint16_t;

constexpr TDXDrawOptions optionBit(TDXDrawOption o) {
    return static_cast<TDXDrawOptions>(1u << o);
}
constexpr TDXDrawOptions optionBits(std::initializer_list<TDXDrawOption> list) {
    TDXDrawOptions bits = 0;
    for (TDXDrawOption o : list)
        bits = static_cast<TDXDrawOptions>(bits | optionBit(o));
    return bits;
}
constexpr bool hasOption(TDXDrawOptions options, TDXDrawOption o) {
    return (options & optionBit(o)) != 0;
}
constexpr TDXDrawOptions withoutOptions(TDXDrawOptions options,
                                        std::initializer_list<TDXDrawOption> list) {
    return static_cast<TDXDrawOptions>(options & ~optionBits(list));
}
constexpr TDXDrawOptions withOption(TDXDrawOptions options, TDXDrawOption o, bool on) {
    return on ? static_cast<TDXDrawOptions>(options | optionBit(o)) : withoutOptions(options, {o});
}

// A component's options when nothing sets them.
inline constexpr TDXDrawOptions DefaultDXDrawOptions =
    optionBits({doAllowReboot, doWaitVBlank, doCenter, doDirectX7Mode, doHardware, doSelectDriver});
// The title card's component: flipped pages; full screen is added for each card.
inline constexpr TDXDrawOptions TitleCardDXDrawOptions =
    optionBits({doAllowReboot, doWaitVBlank, doFlip});
// Setting the options of an initialised component changes only these at once.
inline constexpr TDXDrawOptions OptionsChangeableWhileInitialized =
    optionBits({doWaitVBlank, doStretch, doCenter});

} // namespace quillon
