#include "platform/win32/report_list.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {
namespace {

// The list view's messages carry pointers and flags in their parameters.
LRESULT send(HWND control, UINT message, WPARAM first, const void* second) {
    return SendMessageW(control, message, first, reinterpret_cast<LPARAM>(second));
}

[[noreturn]] void listViewFailed(const std::string& what) {
    throw PlatformError("the result list: " + what + " failed");
}

}  // namespace

void ReportList::setReportView() {
    const LONG_PTR style = GetWindowLongPtrW(control_, GWL_STYLE);
    SetWindowLongPtrW(control_, GWL_STYLE, (style & ~LONG_PTR{LVS_TYPEMASK}) | LVS_REPORT);
}

void ReportList::setExtendedStyle(DWORD style, bool on) {
    SendMessageW(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, style,
                 static_cast<LPARAM>(on ? style : 0));
}

bool ReportList::hasExtendedStyle(DWORD style) const {
    const auto styles =
        static_cast<DWORD>(SendMessageW(control_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    return (styles & style) == style;
}

HWND ReportList::header() const {
    return reinterpret_cast<HWND>(SendMessageW(control_, LVM_GETHEADER, 0, 0));
}

void ReportList::appendColumn(std::string_view header, int widthPixels) {
    std::wstring text = widen(header);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = widthPixels;
    column.pszText = text.data();
    const int position = columnCount();
    if (send(control_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(position), &column) != position) {
        listViewFailed("appending the column \"" + std::string(header) + "\"");
    }
}

void ReportList::setColumnWidth(int column, int widthPixels) {
    SendMessageW(control_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 MAKELPARAM(widthPixels, 0));
}

int ReportList::columnCount() const {
    return static_cast<int>(SendMessageW(header(), HDM_GETITEMCOUNT, 0, 0));
}

std::string ReportList::columnHeader(int column) const {
    std::vector<wchar_t> buffer(256);
    LVCOLUMNW query{};
    query.mask = LVCF_TEXT;
    query.pszText = buffer.data();
    query.cchTextMax = static_cast<int>(buffer.size());
    if (!send(control_, LVM_GETCOLUMNW, static_cast<WPARAM>(column), &query)) {
        listViewFailed("reading the header of column " + std::to_string(column));
    }
    return narrow(query.pszText);
}

void ReportList::removeAllRows() {
    if (!SendMessageW(control_, LVM_DELETEALLITEMS, 0, 0)) {
        listViewFailed("removing the rows");
    }
}

int ReportList::rowCount() const {
    return static_cast<int>(SendMessageW(control_, LVM_GETITEMCOUNT, 0, 0));
}

int ReportList::appendRow(std::string_view text) {
    std::wstring wide = widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = rowCount();
    item.pszText = wide.data();
    const auto row = static_cast<int>(send(control_, LVM_INSERTITEMW, 0, &item));
    if (row < 0) {
        listViewFailed("appending a row");
    }
    return row;
}

void ReportList::setCell(int row, int column, std::string_view text) {
    std::wstring wide = widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    if (!send(control_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), &item)) {
        listViewFailed("setting row " + std::to_string(row) + ", column " + std::to_string(column));
    }
}

std::string ReportList::cell(int row, int column) const {
    // LVM_GETITEMTEXTW returns the number of characters copied; a full buffer may mean more.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto copied = static_cast<std::size_t>(
            send(control_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), &item));
        if (copied + 1 < buffer.size()) {
            return narrow(std::wstring_view(buffer.data(), copied));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace norvessa::platform::win32
