// Start-up: the database file written from the program's resource, the boxes emptied, and a
// start that cannot write the file ending before any window shows.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QString>
#include <csignal>
#include <filesystem>

#include "main_window/form1.h"
#include "main_window/program.h"
#include "platform/gui/error_report.h"
#include "platform_gui/captured_errors.h"
#include "scoped_data_home.h"

namespace {

using norvessa::main_window::Form1;

bool anyWindowVisible() {
    return CapturedErrors::anyWindowVisible();
}

TEST(StartUp, ANewDatabaseFileGetsExactlyTheCarriedImage) {
    ScopedDataHome home;
    const std::string image = carriedDatabaseImage();
    ASSERT_FALSE(image.empty());
    ASSERT_FALSE(std::filesystem::exists(home.databaseFile()));

    Form1 form;
    form.Form_Load();
    EXPECT_EQ(readWholeFile(home.databaseFile()), image);
}

TEST(StartUp, AnExistingLongerFileIsReplacedWhole) {
    ScopedDataHome home;
    const std::string image = carriedDatabaseImage();
    writeWholeFile(home.databaseFile(), std::string(image.size() * 3 + 4096, 'x'));

    Form1 form;
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
    Form1 form;
    form.Form_Load();
    form.Text1->setText(QStringLiteral("K9HCG08U5M"));
    form.Text13->setText(QStringLiteral("remark"));
    form.ListView1->listItems().add(QStringLiteral("1"));
    form.Label16->setCaption(QStringLiteral("共查到1个结果！"));

    form.csl_Txt();
    EXPECT_EQ(form.Text1->text(), QString());
    EXPECT_EQ(form.Text13->text(), QString());
    EXPECT_EQ(form.ListView1->listItems().count(), 1);
    EXPECT_EQ(form.Label16->text(), QStringLiteral("共查到1个结果！"));
}

TEST(StartUp, AFolderThatCannotBeWrittenEndsTheStartBeforeAnyWindowShows) {
    ScopedDataHome home;
    // A file where the folder should be: creating the folder or a file in it fails even for
    // root, which permission bits would not stop.
    writeWholeFile(home.programFiles(), "not a folder");
    CapturedErrors errors;

    const int status = norvessa::main_window::runProgram(*qApp);

    EXPECT_EQ(status, norvessa::main_window::kStartFailedExitStatus);
    EXPECT_FALSE(anyWindowVisible());
    ASSERT_EQ(errors.reports().size(), 1);
    EXPECT_FALSE(errors.reports()[0].windowVisible);
    EXPECT_EQ(errors.reports()[0].report.summary, norvessa::platform::startFailedSummary());
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
    int status = 0;
    {
        const FileSizeLimit limit(image.size() / 2);
        status = norvessa::main_window::runProgram(*qApp);
    }

    EXPECT_EQ(status, norvessa::main_window::kStartFailedExitStatus);
    EXPECT_FALSE(anyWindowVisible());
    ASSERT_EQ(errors.reports().size(), 1);
    EXPECT_FALSE(errors.reports()[0].windowVisible);
    EXPECT_EQ(errors.reports()[0].report.summary, norvessa::platform::startFailedSummary());
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
