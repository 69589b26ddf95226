// Widget tests run in one process on Qt's offscreen platform with a fixed style, against the
// program's own application object. Nothing may wait for a click: an error report that a test
// does not expect fails that test instead of opening a message box.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStyleFactory>
#include <QTemporaryDir>

#include "platform/gui/application.h"
#include "platform/gui/error_report.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Start-up writes below the user's data folder; tests get a folder of their own.
    const QTemporaryDir dataHome;
    if (!dataHome.isValid()) {
        return 2;
    }
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());

    norvessa::platform::Application application(argc, argv);
    norvessa::platform::Application::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    norvessa::platform::setErrorPresenter([](const norvessa::platform::ErrorReport& report) {
        ADD_FAILURE() << "unexpected error report: " << report.summary << " " << report.detail;
    });

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
