#include "platform/win32/native_list_view.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/controls/twips.h"
#include "platform/core/platform_error.h"

namespace norvessa::platform::win32 {
namespace {

class NativeListItem : public controls::ListItem {
  public:
    NativeListItem(std::shared_ptr<NativeListView::Rows> rows, int row)
        : rows_(std::move(rows)), row_(row), generation_(rows_->generation) {}

    std::string text() const override { return checkedReport().cell(row_, 0); }

    std::string subItem(std::int16_t index) const override {
        const ReportList& report = checkedReport();
        return report.cell(row_, checkedColumn(report, index));
    }

    void setSubItem(std::int16_t index, std::string_view text) override {
        ReportList& report = checkedReport();
        report.setCell(row_, checkedColumn(report, index), text);
    }

  private:
    ReportList& checkedReport() const {
        if (rows_->report == nullptr) {
            throw PlatformError("the list row is used after its list was destroyed");
        }
        if (rows_->generation != generation_) {
            throw PlatformError("the list row is used after the list was cleared");
        }
        return *rows_->report;
    }

    static int checkedColumn(const ReportList& report, std::int16_t index) {
        if (index < 1 || index >= report.columnCount()) {
            throw std::out_of_range("sub-item " + std::to_string(index) +
                                    " is outside the list's columns");
        }
        return index;
    }

    std::shared_ptr<NativeListView::Rows> rows_;
    int row_;
    std::uint64_t generation_;
};

}  // namespace

NativeListView::NativeListView(HWND control, int dpi)
    : report_(control), dpi_(dpi), rows_(std::make_shared<Rows>(Rows{&report_})) {}

NativeListView::~NativeListView() {
    rows_->report = nullptr;
}

void NativeListView::setView(controls::ListViewMode mode) {
    switch (mode) {
        case controls::ListViewMode::Report:
            report_.setReportView();
            return;
    }
    throw std::invalid_argument("unknown list view mode");
}

void NativeListView::setOption(controls::ListViewOption option, bool on) {
    switch (option) {
        case controls::ListViewOption::GridLines:
            report_.setExtendedStyle(LVS_EX_GRIDLINES, on);
            return;
        case controls::ListViewOption::FullRowSelect:
            report_.setExtendedStyle(LVS_EX_FULLROWSELECT, on);
            return;
    }
    throw std::invalid_argument("unknown list view option");
}

void NativeListView::addColumnHeader(std::string_view text, std::int16_t widthTwips) {
    report_.appendColumn(text, controls::twipsToPixels(widthTwips, dpi_));
    columnWidthsTwips_.push_back(widthTwips);
}

void NativeListView::clearItems() {
    report_.removeAllRows();
    ++rows_->generation;
}

std::int32_t NativeListView::itemCount() const {
    return report_.rowCount();
}

std::unique_ptr<controls::ListItem> NativeListView::addItem(std::string_view text) {
    return std::make_unique<NativeListItem>(rows_, report_.appendRow(text));
}

void NativeListView::applyDpi(int dpi) {
    dpi_ = dpi;
    for (std::size_t column = 0; column < columnWidthsTwips_.size(); ++column) {
        report_.setColumnWidth(static_cast<int>(column),
                               controls::twipsToPixels(columnWidthsTwips_[column], dpi));
    }
}

}  // namespace norvessa::platform::win32
