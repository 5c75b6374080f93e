#include "platform/display/dxdraw_drivers.h"

#include "platform/core/services.h"
#include "platform/display/dxdraw.h"

#include <QCoreApplication>
#include <algorithm>

namespace quillon {

namespace {

EDXDrawError cannotCreate(const QString& what) {
    return EDXDrawError(
        formatMessage(QCoreApplication::translate("Errors", "%s を作成できません"), {what}));
}

} // namespace

TDXDrawDriver::TDXDrawDriver(TCustomDXDraw& owner) : owner_(owner) {
    owner_.ddraw_ = new TDirectDraw(owner_.device(), hasOption(owner_.Options(), doDirectX7Mode));
}

TDXDrawDriver::~TDXDrawDriver() {
    delete owner_.clipper_;
    owner_.clipper_ = nullptr;
    delete owner_.palette_;
    owner_.palette_ = nullptr;
    delete owner_.back_;
    owner_.back_ = nullptr;
    delete owner_.primary_;
    owner_.primary_ = nullptr;
    delete owner_.ddraw_;
    owner_.ddraw_ = nullptr;
}

void TDXDrawDriverFlip::Initialize() {
    TDirectDraw& draw = *owner_.ddraw_;
    ddraw::SurfaceDesc desc;
    desc.dwFlags = ddraw::DDSD_CAPS | ddraw::DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.dwCaps = ddraw::DDSCAPS_PRIMARYSURFACE | ddraw::DDSCAPS_FLIP | ddraw::DDSCAPS_COMPLEX;
    if (hasOption(owner_.effective_, do3D))
        desc.dwCaps |= ddraw::DDSCAPS_3DDEVICE;
    owner_.primary_ = new TDirectDrawSurface(draw);
    if (!owner_.primary_->CreateSurface(desc))
        throw cannotCreate(QCoreApplication::translate("Errors", "プライマリサーフェース"));

    owner_.back_ = new TDirectDrawSurface(draw);
    owner_.back_->takeAttachedSurface(*owner_.primary_, ddraw::DDSCAPS_BACKBUFFER);
    owner_.effective_ =
        withOption(owner_.effective_, doSystemMemory, owner_.back_->inSystemMemory());

    owner_.clipper_ = new TDirectDrawClipper(draw);
    owner_.palette_ = new TDirectDrawPalette(draw);
    uint32_t caps = ddraw::DDPCAPS_8BIT;
    if (hasOption(owner_.Options(), doAllowPalette256))
        caps |= ddraw::DDPCAPS_ALLOW256;
    owner_.palette_->CreatePalette(caps, owner_.paletteEntries(owner_.colorTable));
    owner_.primary_->SetPalette(owner_.palette_);
    owner_.back_->SetPalette(owner_.palette_);
}

void TDXDrawDriverFlip::Flip() {
    // A form in the background must not take the screen.
    if (!owner_.formIsActive())
        return;
    // The exchange itself is at once; the new front page goes straight to the presenter,
    // which puts it on the screen at the display's next refresh: nobody waits for it here.
    if (owner_.primary_->Flip()) {
        const ddraw::Surface& front = owner_.primary_->surfaceInterface();
        owner_.presenter_->queue({front.page(), front.litArea()});
    }
}

void TDXDrawDriverBlt::Initialize() {
    TDirectDraw& draw = *owner_.ddraw_;
    ddraw::SurfaceDesc desc;
    desc.dwFlags = ddraw::DDSD_CAPS;
    desc.dwCaps = ddraw::DDSCAPS_PRIMARYSURFACE;
    owner_.primary_ = new TDirectDrawSurface(draw);
    if (!owner_.primary_->CreateSurface(desc))
        throw cannotCreate(QCoreApplication::translate("Errors", "プライマリサーフェース"));

    owner_.clipper_ = new TDirectDrawClipper(draw);
    owner_.clipper_->setHandle(&owner_);
    owner_.primary_->SetClipper(owner_.clipper_);

    owner_.palette_ = new TDirectDrawPalette(draw);
    uint32_t caps = ddraw::DDPCAPS_8BIT | ddraw::DDPCAPS_PRIMARYSURFACE;
    if (hasOption(owner_.effective_, doAllowPalette256))
        caps |= ddraw::DDPCAPS_ALLOW256;
    owner_.palette_->CreatePalette(caps, owner_.paletteEntries(owner_.colorTable));
    owner_.primary_->SetPalette(owner_.palette_);

    createBackSurface();
}

void TDXDrawDriverBlt::createBackSurface() {
    TDirectDraw& draw = *owner_.ddraw_;
    ddraw::SurfaceDesc desc;
    desc.dwFlags = ddraw::DDSD_CAPS | ddraw::DDSD_HEIGHT | ddraw::DDSD_WIDTH;
    desc.dwCaps = ddraw::DDSCAPS_OFFSCREENPLAIN;
    if (hasOption(owner_.Options(), doSystemMemory))
        desc.dwCaps |= ddraw::DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = static_cast<uint32_t>(std::max(1, owner_.surfaceWidth_));
    desc.dwHeight = static_cast<uint32_t>(std::max(1, owner_.surfaceHeight_));

    if (!owner_.back_)
        owner_.back_ = new TDirectDrawSurface(draw);
    if (!owner_.back_->CreateSurface(desc)) {
        desc.dwCaps |= ddraw::DDSCAPS_SYSTEMMEMORY;
        if (!owner_.back_->CreateSurface(desc))
            throw cannotCreate(QCoreApplication::translate("Errors", "サーフェース"));
    }
    owner_.effective_ =
        withOption(owner_.effective_, doSystemMemory, owner_.back_->inSystemMemory());
    owner_.back_->SetPalette(owner_.palette_);
    owner_.back_->ColorFill(0);
}

void TDXDrawDriverBlt::Flip() {
    const QPoint origin = owner_.mapToGlobal(QPoint(0, 0));
    QRect dest;
    if (hasOption(owner_.effective_, doStretch)) {
        dest = QRect(origin, owner_.size());
    } else {
        QPoint at = origin;
        if (hasOption(owner_.effective_, doCenter))
            at += QPoint((owner_.width() - owner_.back_->Width()) / 2,
                         (owner_.height() - owner_.back_->Height()) / 2);
        dest = QRect(at, QSize(owner_.back_->Width(), owner_.back_->Height()));
    }
    if (hasOption(owner_.effective_, doWaitVBlank))
        owner_.ddraw_->WaitForVerticalBlank(ddraw::DDWAITVB_BLOCKBEGIN);
    owner_.primary_->Blt(&dest, owner_.back_, ddraw::DDBLT_WAIT);
    owner_.update();
}

bool TDXDrawDriverBlt::setSize(int width, int height) {
    owner_.surfaceWidth_ = width;
    owner_.surfaceHeight_ = height;
    owner_.initializeSurfaceFired_ = false;
    owner_.fire(owner_.OnFinalizeSurface);
    createBackSurface();
    owner_.fire(owner_.OnInitializeSurface);
    owner_.initializeSurfaceFired_ = true;
    return true;
}
} // namespace quillon
