// The DirectDraw object with the palettes and clippers made through it.
#include "platform/display/directdraw.h"

#include "platform/display/surface.h"

#include <QCoreApplication>
#include <algorithm>

namespace quillon {

namespace {

template <typename T> void forget(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

template <typename T> void freeAll(std::vector<T*>& list) {
    while (!list.empty())
        delete list.back(); // the destructor takes it off the list
}

} // namespace

const TColorTable& systemPalette() {
    static const TColorTable table = [] {
        TColorTable t{};
        const uint8_t low[10][3] = {{0, 0, 0},       {128, 0, 0},    {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128},     {128, 0, 128},  {0, 128, 128}, {192, 192, 192},
                                    {192, 220, 192}, {166, 202, 240}};
        const uint8_t high[10][3] = {
            {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
            {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
        for (int i = 0; i < 10; ++i) {
            t[i] = {low[i][0], low[i][1], low[i][2], 0};
            t[246 + i] = {high[i][0], high[i][1], high[i][2], 0};
        }
        return t;
    }();
    return table;
}

// --- TDirectDraw ---

TDirectDraw::TDirectDraw(ddraw::Device& device, bool directX7Mode) {
    if (!device.libraryLoads())
        throw Exception(formatMessage(QCoreApplication::translate("Errors", "%s を読み込めません"),
                                      {QStringLiteral("DDraw.dll")}));
    setLastResult(device.create(draw_));
    if (LastResult() != ddraw::DD_OK || !draw_)
        throw EDirectDrawError(
            formatMessage(QCoreApplication::translate("Errors", "%s を初期化できません"),
                          {QStringLiteral("DirectDraw")}));
    if (directX7Mode) {
        if (draw_->QueryInterface(4) != ddraw::DD_OK || draw_->QueryInterface(7) != ddraw::DD_OK)
            throw EDirectDrawError(
                QCoreApplication::translate("Errors", "DirectX 7 以降が必要です"));
    } else if (draw_->QueryInterface(4) != ddraw::DD_OK) {
        throw EDirectDrawError(QCoreApplication::translate("Errors", "DirectX 6 以降が必要です"));
    }
    setLastResult(draw_->GetCaps(&driverCaps_, &helCaps_));
}

TDirectDraw::~TDirectDraw() {
    freeAll(surfaces_);
    freeAll(palettes_);
    freeAll(clippers_);
    if (draw_)
        draw_->Release();
}

ddraw::DirectDraw& TDirectDraw::drawInterface() {
    if (!draw_)
        throw EDirectDrawError(
            formatMessage(QCoreApplication::translate("Errors", "%s は作成されていません"),
                          {QStringLiteral("IDirectDraw")}));
    return *draw_;
}

bool TDirectDraw::SetCooperativeLevel(const void* window, uint32_t flags) {
    setLastResult(drawInterface().SetCooperativeLevel(window, flags));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDraw::SetDisplayMode(int width, int height, int bits) {
    setLastResult(drawInterface().SetDisplayMode(width, height, bits));
    return LastResult() == ddraw::DD_OK;
}

std::vector<ddraw::SurfaceDesc> TDirectDraw::EnumDisplayModes() {
    std::vector<ddraw::SurfaceDesc> modes;
    setLastResult(drawInterface().EnumDisplayModes(0, modes));
    return modes;
}

bool TDirectDraw::WaitForVerticalBlank(uint32_t flags) {
    setLastResult(drawInterface().WaitForVerticalBlank(flags));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDraw::FlipToGDISurface() {
    setLastResult(drawInterface().FlipToGDISurface());
    return LastResult() == ddraw::DD_OK;
}
// --- TDirectDrawPalette, TDirectDrawClipper ---

TDirectDrawPalette::TDirectDrawPalette(TDirectDraw& draw) : draw_(draw) {
    draw_.palettes_.push_back(this);
}

TDirectDrawPalette::~TDirectDrawPalette() {
    forget(draw_.palettes_, this);
}

bool TDirectDrawPalette::CreatePalette(uint32_t caps, const TColorTable& entries) {
    setLastResult(draw_.drawInterface().CreatePalette(caps, entries.data(), palette_));
    return LastResult() == ddraw::DD_OK;
}

bool TDirectDrawPalette::SetEntries(const TColorTable& entries) {
    if (!palette_)
        return false;
    setLastResult(palette_->SetEntries(0, entries.data(), 256));
    return LastResult() == ddraw::DD_OK;
}

TDirectDrawClipper::TDirectDrawClipper(TDirectDraw& draw) : draw_(draw) {
    setLastResult(draw_.drawInterface().CreateClipper(0, clipper_));
    if (LastResult() != ddraw::DD_OK)
        throw EDirectDrawClipperError(
            formatMessage(QCoreApplication::translate("Errors", "%s を作成できません"),
                          {QCoreApplication::translate("Errors", "クリッパー")}));
    draw_.clippers_.push_back(this);
}

TDirectDrawClipper::~TDirectDrawClipper() {
    forget(draw_.clippers_, this);
}

bool TDirectDrawClipper::setHandle(const void* window) {
    setLastResult(clipper_->SetHWnd(window));
    return LastResult() == ddraw::DD_OK;
}

} // namespace quillon
