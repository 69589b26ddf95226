// One copy of the program for the soak and fault tests: it does what a start and a lookup do, as
// often as it is told, and prints what it saw, so that several copies can run side by side.
//
//   norvessa_soak_driver start            the program's own start (runProgram); with
//                                         NORVESSA_QUIT_AFTER_FIRST_SHOW set it ends after the
//                                         window is first painted
//   norvessa_soak_driver rounds COUNT     COUNT times: a new main window, its Load handler, and
//                                         a lookup of MT29F64G08 typed into Text1 and clicked
//   norvessa_soak_driver lookups COUNT    one start, then COUNT lookups in the same window
//   norvessa_soak_driver rewrites STOP    starts again and again, rewriting the database file,
//                                         until the file STOP exists
//   norvessa_soak_driver overwrites STOP  like another program copying the image over the
//                                         database file in place, page by page, until STOP exists
//
// Every error report goes to stderr as one line "error report: SUMMARY | DETAIL". The counting
// modes end with one line on stdout, "rounds=… right=… wrong=… reports=…", and exit with 0 when
// every round was right and nothing was reported.

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyleFactory>
#include <QTest>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main_window/database_location.h"
#include "main_window/database_provisioning.h"
#include "main_window/program.h"
#include "platform/core/windows_path.h"
#include "platform/gui/application.h"
#include "platform/gui/error_report.h"
#include "platform/gui/qt_front_end.h"
#include "resources/database_image.h"
#include "support/qt_form1.h"

namespace {

// What the user types, blanks and lower case included, and what the shipped data holds for it.
const QString kTypedModel = QStringLiteral("  mt29f64g08 ");
const QString kModelKey = QStringLiteral("MT29F64G08");
constexpr int kExpectedRows = 9;

constexpr int kUsageStatus = 2;

struct Tally {
    long rounds = 0;
    long right = 0;
    long wrong = 0;
    long reports = 0;
};

Tally tally;

void printReport(const norvessa::platform::ErrorReport& report) {
    ++tally.reports;
    std::fprintf(stderr, "error report: %s | %s\n", report.summary.c_str(), report.detail.c_str());
    std::fflush(stderr);
}

// Every cell of the list, the count and the detail boxes, as the window shows them.
QStringList shownResult(QtForm1& form) {
    QStringList shown;
    for (int row = 0; row < form.listView("ListView1")->rowCount(); ++row) {
        for (int column = 0; column < form.listView("ListView1")->columnCount(); ++column) {
            const auto* cell = form.listView("ListView1")->item(row, column);
            shown.append(cell != nullptr ? cell->text() : QString());
        }
    }
    shown.append(form.label("Label16")->text());
    for (const QLineEdit* box :
         {form.textBox("Text2"), form.textBox("Text3"), form.textBox("Text4"),
          form.textBox("Text5"), form.textBox("Text6"), form.textBox("Text7"),
          form.textBox("Text8"), form.textBox("Text9"), form.textBox("Text10"),
          form.textBox("Text11"), form.textBox("Text12"), form.textBox("Text13")}) {
        shown.append(box->text());
    }
    return shown;
}

bool looksRight(QtForm1& form) {
    return form.listView("ListView1")->listItems().count() == kExpectedRows &&
           form.label("Label16")->text() == QStringLiteral("共查到%1个结果！").arg(kExpectedRows) &&
           form.textBox("Text2")->text() == kModelKey;
}

// The result of the first right lookup; every later one must show exactly the same.
std::optional<QStringList> reference;

// One lookup as the user makes it. A lookup that fails is reported through the application
// object, which counts it; a lookup that succeeds must show the right rows.
void lookUp(QtForm1& form) {
    ++tally.rounds;
    const long reportsBefore = tally.reports;
    form.textBox("Text1")->clear();
    QTest::keyClicks(form.textBox("Text1"), kTypedModel);
    QTest::mouseClick(form.button("Command1"), Qt::LeftButton);
    if (tally.reports != reportsBefore) {
        return;
    }
    const QStringList shown = shownResult(form);
    if (!reference && looksRight(form)) {
        reference = shown;
    }
    if (reference && shown == *reference) {
        ++tally.right;
    } else {
        ++tally.wrong;
        std::fprintf(stderr, "wrong result in round %ld: %d rows, %s\n", tally.rounds,
                     form.listView("ListView1")->listItems().count(),
                     qUtf8Printable(form.label("Label16")->text()));
    }
}

// A start as far as the program goes before showing its window.
bool load(QtForm1& form) {
    try {
        form.Form_Load();
        return true;
    } catch (...) {
        norvessa::platform::reportError(norvessa::platform::reportOf(
            norvessa::platform::startFailedSummary(), std::current_exception()));
        return false;
    }
}

int finish() {
    std::printf("rounds=%ld right=%ld wrong=%ld reports=%ld\n", tally.rounds, tally.right,
                tally.wrong, tally.reports);
    return tally.rounds == tally.right && tally.reports == 0 ? 0 : 1;
}

int runRounds(long count) {
    for (long round = 0; round < count; ++round) {
        QtForm1 form;
        if (load(form)) {
            lookUp(form);
        } else {
            ++tally.rounds;
        }
    }
    return finish();
}

int runLookups(long count) {
    QtForm1 form;
    if (!load(form)) {
        return finish();
    }
    for (long round = 0; round < count; ++round) {
        lookUp(form);
    }
    return finish();
}

int runRewrites(const std::filesystem::path& stopFile) {
    while (!std::filesystem::exists(stopFile)) {
        ++tally.rounds;
        QtForm1 form;
        if (load(form)) {
            ++tally.right;
        }
    }
    return finish();
}

// Not the program's own way of writing (it renames a complete file into place): the file is cut
// and refilled where it stands, so a reader can meet it at any length.
int runOverwrites(const std::filesystem::path& databaseFile,
                  const std::filesystem::path& stopFile) {
    const std::vector<std::uint8_t> image = norvessa::resources::loadDatabaseImage();
    constexpr std::size_t kPage = 4096;
    while (!std::filesystem::exists(stopFile)) {
        ++tally.rounds;
        std::ofstream file(databaseFile, std::ios::binary | std::ios::trunc);
        for (std::size_t offset = 0; offset < image.size() && file; offset += kPage) {
            file.write(reinterpret_cast<const char*>(image.data() + offset),
                       static_cast<std::streamsize>(std::min(kPage, image.size() - offset)));
            file.flush();
        }
        if (file) {
            ++tally.right;
        }
    }
    return finish();
}

std::optional<long> parseCount(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string_view mode = argc >= 2 ? argv[1] : "";
    // As the program's own main does: the database file is written beside the building of the
    // application and the window.
    if (mode == "start" && argc == 2) {
        norvessa::main_window::startDatabaseProvisioning();
    }
    norvessa::platform::Application application(argc, argv);
    norvessa::platform::Application::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    norvessa::platform::setErrorPresenter(printReport);

    if (mode == "start" && argc == 2) {
        norvessa::platform::QtFrontEnd frontEnd;
        return norvessa::main_window::runProgram(frontEnd);
    }
    if (mode == "rewrites" && argc == 3) {
        return runRewrites(argv[2]);
    }
    if (mode == "overwrites" && argc == 3) {
        return runOverwrites(
            norvessa::platform::hostPath(norvessa::main_window::databaseFilePath()), argv[2]);
    }
    // Zero where no valid count is given.
    const long count = argc == 3 ? parseCount(argv[2]).value_or(0) : 0;
    if (mode == "rounds" && count > 0) {
        return runRounds(count);
    }
    if (mode == "lookups" && count > 0) {
        return runLookups(count);
    }
    std::fprintf(stderr,
                 "usage: norvessa_soak_driver start | rounds COUNT | lookups COUNT | "
                 "rewrites STOP_FILE | overwrites STOP_FILE\n");
    return kUsageStatus;
}
