#include "platform/display/dxform.h"
#include "platform/display/page_painter.h"
#include "support/display_fixture.h"
#include "support/raised.h"

#include <QApplication>
#include <QPainter>

namespace quillon::testing {
namespace {

using ddraw::DisplayMode;

std::vector<QString> callNames(const TestDisplayDevice& device) {
    std::vector<QString> names;
    for (const auto& c : device.calls())
        names.push_back(c.name);
    return names;
}

uint32_t flagsOf(const TestDisplayDevice& device, const QString& name) {
    for (const auto& c : device.calls())
        if (c.name == name)
            return c.flags;
    ADD_FAILURE() << "no call " << name.toStdString();
    return 0;
}

TEST_F(DisplayTest, RequestedModeIsSetDirectlyWithoutEnumeration) {
    initializeFullScreen();
    EXPECT_EQ(device.countCalls("EnumDisplayModes"), 0);
    EXPECT_EQ(device.currentMode(), (DisplayMode{640, 480, 16}));
    EXPECT_EQ(flagsOf(device, "SetCooperativeLevel"), 0x53u);
    EXPECT_EQ(flagsOf(device, "CreateSurface"), 0x218u);
    EXPECT_EQ(draw->Width(), 640);
    EXPECT_EQ(draw->Height(), 480);
    EXPECT_EQ(draw->SurfaceWidth(), 640);
    ASSERT_TRUE(draw->ReadyToDraw());
    EXPECT_NE(dynamic_cast<TDXDrawDriverFlip*>(draw->driver()), nullptr);
}

TEST_F(DisplayTest, FallsBackToTheSmallestLargerModeOfTheSameBitCount) {
    device.modes.erase(
        std::find(device.modes.begin(), device.modes.end(), DisplayMode{640, 480, 16}));
    initializeFullScreen();
    EXPECT_EQ(device.countCalls("EnumDisplayModes"), 1);
    EXPECT_EQ(device.currentMode(), (DisplayMode{800, 600, 16}));
    EXPECT_EQ(draw->Display().Width(), 800);
    EXPECT_EQ(draw->Display().Height(), 600);
    EXPECT_EQ(draw->Width(), 800);
}

TEST_F(DisplayTest, WithoutARatioMatchTheSearchTakesAnyLargerMode) {
    device.modes = {{640, 480, 32}, {1280, 1024, 16}, {1920, 1080, 16}};
    initializeFullScreen();
    EXPECT_EQ(device.currentMode(), (DisplayMode{1280, 1024, 16}));
}

TEST_F(DisplayTest, NoUsableModeFailsAndLeavesTheComponentFinalized) {
    device.modes = {{640, 480, 32}, {320, 240, 16}, {1024, 768, 8}};
    device.modesFailingToSet = {};
    EXPECT_EQ(raised<EDXDrawError>([&] { initializeFullScreen(); }),
              QStringLiteral("ディスプレイモードを変更できません (640x480 16bit)"));
    EXPECT_FALSE(draw->initialized());
    EXPECT_EQ(draw->directDraw(), nullptr);
    EXPECT_EQ(draw->BackSurface(), nullptr);
    EXPECT_EQ(device.countCalls("Release DirectDraw"), 1);
}

TEST_F(DisplayTest, ChangeModeRefusesBadRequestsWithoutADeviceCall) {
    initializeFullScreen();
    device.clearCalls();
    EXPECT_FALSE(draw->Display().ChangeMode(0, 480, 16));
    EXPECT_FALSE(draw->Display().ChangeMode(640, 480, 15));
    EXPECT_TRUE(device.calls().empty());
    EXPECT_THROW(draw->Display().setBitCount(15), EDirectDrawError);
}

TEST_F(DisplayTest, EffectiveOptionsFollowTheConfiguration) {
    EXPECT_EQ(draw->EffectiveOptions(), optionBit(doWaitVBlank));
    draw->setOptions(TitleCardDXDrawOptions | optionBit(doFullScreen));
    EXPECT_EQ(draw->EffectiveOptions(), optionBit(doFullScreen) | optionBit(doAllowReboot) |
                                            optionBit(doWaitVBlank) | optionBit(doFlip));
    draw->setOptions(DefaultDXDrawOptions);
    EXPECT_EQ(draw->EffectiveOptions(), optionBit(doWaitVBlank) | optionBit(doCenter));
    // System memory rules out the flip chain.
    draw->setOptions(TitleCardDXDrawOptions | optionBits({doFullScreen, doSystemMemory}));
    EXPECT_FALSE(draw->EffectiveOptions() & optionBit(doFlip));
}

TEST_F(DisplayTest, OptionsSetWhileInitializedChangeOnlyThePresentationMembers) {
    draw->Initialize(); // windowed
    draw->setOptions(TitleCardDXDrawOptions | optionBits({doFullScreen, doStretch}));
    EXPECT_EQ(draw->EffectiveOptions(), optionBit(doWaitVBlank) | optionBit(doStretch));
    draw->setOptions(optionBits({doFullScreen, doAllowReboot, doFlip}));
    EXPECT_EQ(draw->EffectiveOptions(), 0);
    draw->Initialize(); // doFullScreen takes effect now
    EXPECT_EQ(draw->EffectiveOptions(), optionBits({doFullScreen, doAllowReboot, doFlip}));
}

TEST_F(DisplayTest, WindowedConfigurationBlitsTheOffscreenSurface) {
    draw->Initialize();
    EXPECT_EQ(flagsOf(device, "SetCooperativeLevel"), ddraw::DDSCL_NORMAL);
    EXPECT_EQ(device.countCalls("SetDisplayMode 640x480x16"), 0);
    EXPECT_EQ(draw->SurfaceWidth(), 632);
    EXPECT_EQ(draw->SurfaceHeight(), 453);
    ASSERT_TRUE(draw->ReadyToDraw());
    device.clearCalls();
    draw->Flip();
    EXPECT_EQ(callNames(device), (std::vector<QString>{"WaitForVerticalBlank", "Blt"}));
    EXPECT_EQ(device.calls().back().flags, ddraw::DDBLT_WAIT);
}

TEST_F(DisplayTest, WindowedBackSurfaceFallsBackToSystemMemory) {
    device.offscreenFailures = 1;
    draw->Initialize();
    EXPECT_TRUE(draw->EffectiveOptions() & optionBit(doSystemMemory));
    draw->Finalize();
    device.offscreenFailures = 2;
    EXPECT_EQ(raised<EDXDrawError>([&] { draw->Initialize(); }),
              QStringLiteral("サーフェース を作成できません"));
    EXPECT_FALSE(draw->initialized());
}

TEST_F(DisplayTest, CreationFailuresRaiseTheirMessages) {
    device.libraryAvailable = false;
    EXPECT_EQ(raised([&] { initializeFullScreen(); }),
              QStringLiteral("DDraw.dll を読み込めません"));
    device.libraryAvailable = true;
    device.supportsDirectDraw4 = false;
    EXPECT_THROW(draw->Initialize(), EDirectDrawError);
    device.supportsDirectDraw4 = true;
    device.primaryFails = true;
    EXPECT_EQ(raised<EDXDrawError>([&] { draw->Initialize(); }),
              QStringLiteral("プライマリサーフェース を作成できません"));
    EXPECT_FALSE(draw->initialized());

    TDXDraw orphan(nullptr);
    EXPECT_THROW(orphan.Initialize(), EDXDrawError);
}

TEST_F(DisplayTest, FinalizeReleasesInOrderAndOnlyOnce) {
    draw->Finalize(); // never initialised: nothing at all
    EXPECT_TRUE(device.calls().empty());
    initializeFullScreen();
    device.clearCalls();
    int finalizeEvents = 0;
    draw->OnFinalize = [&](TCustomDXDraw*) { ++finalizeEvents; };
    draw->Finalize();
    draw->Finalize();
    EXPECT_EQ(finalizeEvents, 1);
    EXPECT_EQ(device.countCalls("Release DirectDraw"), 1);
    EXPECT_EQ(device.countCalls("Release Surface"), 2);
    EXPECT_EQ(callNames(device).back(), QStringLiteral("Release DirectDraw"));
    // The desktop's own mode is back.
    EXPECT_EQ(device.currentMode(), device.desktop);
}

TEST_F(DisplayTest, LostSurfacesAreRestoredBlackAtTheNextReadyToDraw) {
    initializeFullScreen();
    device.loseSurfaces();
    EXPECT_TRUE(draw->ReadyToDraw());
    EXPECT_EQ(litPixels(*draw->PrimarySurface()->page()), 0);
    EXPECT_EQ(litPixels(*draw->BackSurface()->page()), 0);

    device.loseSurfaces();
    device.restoreFails = true;
    EXPECT_FALSE(draw->ReadyToDraw());
    device.clearCalls();
    draw->Flip();
    EXPECT_EQ(device.countCalls("Flip"), 0);
}

TEST_F(DisplayTest, FlipExchangesPagesOnlyWhileTheFormIsActive) {
    initializeFullScreen();
    draw->BackSurface()->ColorFill(0xFFFF);
    environment.windowsActive = false;
    draw->Flip();
    EXPECT_EQ(litPixels(*draw->PrimarySurface()->page()), 0);
    environment.windowsActive = true;
    device.clearCalls();
    draw->Flip();
    EXPECT_EQ(flagsOf(device, "Flip"), ddraw::DDFLIP_WAIT);
    const QImage& front = *draw->PrimarySurface()->page();
    EXPECT_EQ(litPixels(front), front.width() * front.height());
    EXPECT_EQ(litPixels(*draw->BackSurface()->page()), 0);
}

TEST_F(DisplayTest, FirstShowInitializesWindowedOnceAndDeactivationFlipsToGdi) {
    draw->setAutoInitialize(true);
    form->show();
    EXPECT_TRUE(draw->initialized());
    EXPECT_NE(dynamic_cast<TDXDrawDriverBlt*>(draw->driver()), nullptr);
    form->hide();
    draw->Finalize();
    form->show();
    EXPECT_FALSE(draw->initialized());

    initializeFullScreen();
    EXPECT_TRUE(form->isFullScreen());
    EXPECT_EQ(draw->geometry(), form->rect());
    device.clearCalls();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form.get(), &deactivate);
    EXPECT_EQ(device.countCalls("FlipToGDISurface"), 1);
}

TEST_F(DisplayTest, APageFillsItsScreenPixelForPixelWithBarsWhereTheAspectDiffers) {
    // A 1024 × 600 screen: pages are drawn at 1.25 device pixels a unit, 800 × 600.
    QImage page(800, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    QImage screen(1024, 600, QImage::Format_RGB32);
    screen.fill(Qt::red);
    QPainter painter(&screen);
    const QRect area = placePage(page.size(), screen.size());
    EXPECT_EQ(area, QRect(112, 0, 800, 600));
    paintPage(painter, area, page, page.rect(), QRegion(screen.rect()));
    painter.end();
    EXPECT_EQ(screen.pixelColor(111, 300), QColor(Qt::black));
    EXPECT_EQ(screen.pixelColor(112, 300), QColor(Qt::white));
    EXPECT_EQ(screen.pixelColor(911, 300), QColor(Qt::white));
    EXPECT_EQ(screen.pixelColor(912, 300), QColor(Qt::black));
}

TEST_F(DisplayTest, OnlyWhatChangedIsPaintedAndALargerPageIsScaledDown) {
    QImage page(640, 480, QImage::Format_RGB32);
    page.fill(Qt::black);
    QPainter text(&page);
    text.setPen(Qt::white);
    QFont font(QStringLiteral("ＭＳ 明朝"));
    font.setPixelSize(120);
    text.setFont(font);
    text.drawText(QPoint(150, 300), QStringLiteral("怪人"));
    text.end();
    const QRect lit(140, 160, 280, 160);

    // Same size: the lit part copied as it is; what is not dirty is not touched.
    QImage screen(640, 480, QImage::Format_RGB32);
    screen.fill(Qt::red);
    QPainter same(&screen);
    paintPage(same, placePage(page.size(), screen.size()), page, lit, QRegion(0, 0, 640, 400));
    same.end();
    EXPECT_EQ(screen.copy(lit), page.copy(lit).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(screen.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(screen.pixelColor(10, 450), QColor(Qt::red));

    // A screen too small for the page: scaled down like the whole page would be.
    QImage small(480, 270, QImage::Format_RGB32);
    QPainter scaled(&small);
    const QRect area = placePage(page.size(), small.size());
    EXPECT_EQ(area, QRect(60, 0, 360, 270));
    paintPage(scaled, area, page, lit, QRegion(small.rect()));
    scaled.end();
    QImage reference(480, 270, QImage::Format_RGB32);
    reference.fill(Qt::black);
    QPainter whole(&reference);
    whole.setRenderHint(QPainter::SmoothPixmapTransform);
    whole.drawImage(area, page.convertToFormat(QImage::Format_RGB32));
    whole.end();
    int differing = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            differing += qAbs(qGray(small.pixel(x, y)) - qGray(reference.pixel(x, y))) > 8;
    EXPECT_EQ(differing, 0);
}

TEST(DXForm, RestoreBringsAFullScreenFormBackToItsPlacement) {
    TDXForm form;
    form.setGeometry(100, 120, 632, 453);
    form.RestoreWindowPlacement(); // nothing saved: nothing happens
    form.SaveWindowPlacement();
    form.show();
    form.showFullScreen();
    form.RestoreWindowPlacement();
    EXPECT_FALSE(form.isFullScreen());
    EXPECT_EQ(form.size(), QSize(632, 453));
    EXPECT_FALSE(form.placementSaved());
}

} // namespace
} // namespace quillon::testing
