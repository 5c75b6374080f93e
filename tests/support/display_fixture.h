#pragma once
// A form with a drawing component on a fresh software display device.
#include "platform/core/services.h"
#include "platform/display/dxdraw.h"
#include "support/pages.h"
#include "support/test_display_device.h"
#include "support/test_environment.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace quillon::testing {

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.emplace(Services{.display = &device, .environment = &environment});
        form = std::make_unique<QWidget>();
        form->resize(632, 453);
        draw = new TDXDraw(form.get());
        draw->setAutoInitialize(false);
        draw->setOptions(TitleCardDXDrawOptions);
        draw->Display().setBitCount(16);
    }
    void TearDown() override {
        form.reset();
        services.reset();
    }
    void initializeFullScreen() {
        draw->setOptions(draw->Options() | optionBit(doFullScreen));
        draw->Initialize();
    }

    TestDisplayDevice device;
    TestEnvironment environment;
    std::optional<ScopedServices> services;
    std::unique_ptr<QWidget> form;
    TDXDraw* draw = nullptr;
};

} // namespace quillon::testing
