#pragma once

// The result list as a common-controls list view in report view.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/win32/report_list.h"

namespace norvessa::platform::win32 {

class NativeListView : public controls::ListView {
  public:
    NativeListView(HWND control, int dpi);
    ~NativeListView() override;

    void setView(controls::ListViewMode mode) override;
    void setOption(controls::ListViewOption option, bool on) override;
    void addColumnHeader(std::string_view text, std::int16_t widthTwips) override;
    void clearItems() override;
    std::int32_t itemCount() const override;
    std::unique_ptr<controls::ListItem> addItem(std::string_view text) override;

    // Sets the columns' widths anew for a new DPI.
    void applyDpi(int dpi);

    const ReportList& report() const { return report_; }

    // What a handed-out row needs to tell whether its row still exists.
    struct Rows {
        ReportList* report;            // null once the list is gone
        std::uint64_t generation = 0;  // counts the clears
    };

  private:
    ReportList report_;
    int dpi_;
    std::vector<std::int16_t> columnWidthsTwips_;
    std::shared_ptr<Rows> rows_;
};

}  // namespace norvessa::platform::win32
