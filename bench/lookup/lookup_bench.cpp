// A lookup from click to screen: the query button's handler builds the statement, opens the
// connection, scans the table, fills the list, the detail boxes and the count, and closes again.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "main_window/form1.h"
#include "platform/gui/qt_front_end.h"
#include "secondary_windows/navigation.h"

namespace {

// The window lives for the whole run, as in the program; its database file is written once.
norvessa::main_window::Form1& loadedWindow() {
    static norvessa::platform::QtFrontEnd frontEnd;
    static norvessa::secondary_windows::Navigation navigation(frontEnd);
    static norvessa::main_window::Form1* const form = [] {
        auto* created = new norvessa::main_window::Form1(frontEnd, navigation);
        created->Form_Load();
        return created;
    }();
    return *form;
}

void LookUp(benchmark::State& state, const char* model, int expectedRows) {
    norvessa::main_window::Form1& form = loadedWindow();
    form.window().textBox("Text1").setText(model);
    for (auto _ : state) {
        form.Command1_Click();
    }
    if (form.window().listView("ListView1").itemCount() != expectedRows) {
        state.SkipWithError("the lookup listed an unexpected number of rows");
    }
}
BENCHMARK_CAPTURE(LookUp, one_result, "K9HCG08U5M", 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(LookUp, nine_results, "MT29F64G08", 9)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(LookUp, no_result, "NOSUCHMODEL", 0)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
