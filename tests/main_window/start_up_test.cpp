// Start-up: the database file written from the program's resource, the boxes emptied, and a
// start that cannot write the file ending before any window shows.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QString>
#include <csignal>
#include <filesystem>

#include "main_window/program.h"
#include "platform/gui/error_report.h"
#include "platform/gui/qt_front_end.h"
#include "platform_gui/captured_errors.h"
#include "scoped_data_home.h"
#include "support/qt_form1.h"

namespace {

bool anyWindowVisible() {
    return CapturedErrors::anyWindowVisible();
}

TEST(StartUp, ANewDatabaseFileGetsExactlyTheCarriedImage) {
    ScopedDataHome home;
    const std::string image = carriedDatabaseImage();
    ASSERT_FALSE(image.empty());
    ASSERT_FALSE(std::filesystem::exists(home.databaseFile()));

    QtForm1 form;
    form.Form_Load();
    EXPECT_EQ(readWholeFile(home.databaseFile()), image);
}

TEST(StartUp, AnExistingLongerFileIsReplacedWhole) {
    ScopedDataHome home;
    const std::string image = carriedDatabaseImage();
    writeWholeFile(home.databaseFile(), std::string(image.size() * 3 + 4096, 'x'));

    QtForm1 form;
    form.Form_Load();
    EXPECT_EQ(readWholeFile(home.databaseFile()), image);
    // Nothing but the database file is left in the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(home.programFiles())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(StartUp, EmptyingTheBoxesLeavesTheListAndTheCountAlone) {
    ScopedDataHome home;
    QtForm1 form;
    form.Form_Load();
    form.textBox("Text1")->setText(QStringLiteral("K9HCG08U5M"));
    form.textBox("Text13")->setText(QStringLiteral("remark"));
    form.listView("ListView1")->listItems().add(QStringLiteral("1"));
    form.label("Label16")->setCaption(QStringLiteral("共查到1个结果！"));

    form.csl_Txt();
    EXPECT_EQ(form.textBox("Text1")->text(), QString());
    EXPECT_EQ(form.textBox("Text13")->text(), QString());
    EXPECT_EQ(form.listView("ListView1")->listItems().count(), 1);
    EXPECT_EQ(form.label("Label16")->text(), QStringLiteral("共查到1个结果！"));
}

TEST(StartUp, AFolderThatCannotBeWrittenEndsTheStartBeforeAnyWindowShows) {
    ScopedDataHome home;
    // A file where the folder should be: creating the folder or a file in it fails even for
    // root, which permission bits would not stop.
    writeWholeFile(home.programFiles(), "not a folder");
    CapturedErrors errors;

    norvessa::platform::QtFrontEnd frontEnd;
    const int status = norvessa::main_window::runProgram(frontEnd);

    EXPECT_EQ(status, norvessa::main_window::kStartFailedExitStatus);
    EXPECT_FALSE(anyWindowVisible());
    ASSERT_EQ(errors.reports().size(), 1);
    EXPECT_FALSE(errors.reports()[0].windowVisible);
    EXPECT_EQ(errors.reports()[0].report.summary,
              QString::fromStdString(norvessa::platform::startFailedSummary()));
    const QString detail = errors.reports()[0].report.detail;
    EXPECT_TRUE(detail.contains(QString::fromStdString(home.programFiles().string())))
        << detail.toStdString();
    EXPECT_EQ(readWholeFile(home.programFiles()), "not a folder");
}

// Limits the size of files this process may write, and ignores the signal that crossing the
// limit raises, so that the write fails with EFBIG; both are restored afterwards.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(StartUp, AFailedWriteReportsThePathAndLeavesTheOldFileUntouched) {
    ScopedDataHome home;
    const std::string image = carriedDatabaseImage();
    ASSERT_GT(image.size(), 1U);
    const std::string old = "an older database of other content";
    writeWholeFile(home.databaseFile(), old);

    CapturedErrors errors;
    norvessa::platform::QtFrontEnd frontEnd;
    int status = 0;
    {
        const FileSizeLimit limit(image.size() / 2);
        status = norvessa::main_window::runProgram(frontEnd);
    }

    EXPECT_EQ(status, norvessa::main_window::kStartFailedExitStatus);
    EXPECT_FALSE(anyWindowVisible());
    ASSERT_EQ(errors.reports().size(), 1);
    EXPECT_FALSE(errors.reports()[0].windowVisible);
    EXPECT_EQ(errors.reports()[0].report.summary,
              QString::fromStdString(norvessa::platform::startFailedSummary()));
    const QString detail = errors.reports()[0].report.detail;
    EXPECT_TRUE(detail.contains(QString::fromStdString(home.databaseFile().string())))
        << detail.toStdString();
    EXPECT_TRUE(detail.contains(QStringLiteral("too large"))) << detail.toStdString();
    EXPECT_EQ(readWholeFile(home.databaseFile()), old);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(home.programFiles())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

}  // namespace
