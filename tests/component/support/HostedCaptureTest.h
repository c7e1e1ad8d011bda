// A capture control created by class id and hosted as the main window hosts it, with a
// driver on its dispatch interface and a scratch folder for recordings.
#pragma once

#include "ComponentDriver.h"

#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"
#include "platform/ControlContainer.h"

#include <QSize>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

class HostedCaptureTest : public ::testing::Test {
protected:
    explicit HostedCaptureTest(QSize size) : m_size(size) {}

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        RegisterCaptureComponent();
        host.reset(platform::ControlContainer::Create(platform::kCaptureControlClassId, nullptr));
        ASSERT_NE(host, nullptr);
        control = dynamic_cast<component::CaptureControl*>(host.get());
        ASSERT_NE(control, nullptr);
        host->resize(m_size);
        host->show();
        driver = std::make_unique<ComponentDriver>(host->Dispatch());
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    std::unique_ptr<platform::HostedControl> host;
    component::CaptureControl* control = nullptr;
    std::unique_ptr<ComponentDriver> driver;

private:
    QSize m_size;
};
