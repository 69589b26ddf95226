#pragma once

// The common controls' list view in report view, driven by its messages: columns appended with a
// header text and a width, rows appended with their text, cells set by column.

#include <windows.h>

#include <string>
#include <string_view>

namespace norvessa::platform::win32 {

class ReportList {
  public:
    explicit ReportList(HWND control) : control_(control) {}

    HWND handle() const { return control_; }

    // Report view: one line per row, a header above each column.
    void setReportView();
    // LVS_EX_FULLROWSELECT, LVS_EX_GRIDLINES and the like.
    void setExtendedStyle(DWORD style, bool on);
    bool hasExtendedStyle(DWORD style) const;

    void appendColumn(std::string_view header, int widthPixels);
    void setColumnWidth(int column, int widthPixels);
    int columnCount() const;
    std::string columnHeader(int column) const;

    void removeAllRows();
    int rowCount() const;
    // Appends a row whose text shows in the first column; returns its index.
    int appendRow(std::string_view text);
    // Column 0 is the row's text, column k its sub-item k.
    void setCell(int row, int column, std::string_view text);
    std::string cell(int row, int column) const;

  private:
    HWND header() const;

    HWND control_;
};

}  // namespace norvessa::platform::win32
