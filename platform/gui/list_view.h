#pragma once

// The result list control: a report of rows under column headers, driven through the calls the
// windows make on it (View, two display options by dispatch id, ColumnHeaders.Add,
// ListItems.Clear/Count/Add and a row's SubItems). A QTableWidget draws it.

#include <QPointer>
#include <QString>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <cstdint>

#include "platform/controls/controls.h"

namespace norvessa::platform {

class ListView;

using controls::ListViewMode;
using controls::ListViewOption;

// One row, as ListItems::add hands it out. It refers to its row until the rows are cleared;
// after that, or once the control is gone, every use throws PlatformError.
class ListItem {
  public:
    QString text() const;

    // Sub-item k is shown in column k + 1 (counting from 1 in the order the headers were
    // added); k runs from 1 to the number of headers less one.
    QString subItem(int index) const;
    void setSubItem(int index, const QString& text);

  private:
    friend class ListItems;
    ListItem(ListView& view, int row, std::uint64_t generation);

    ListView& checkedView() const;
    int checkedColumn(const ListView& view, int index) const;

    QPointer<ListView> view_;
    int row_;
    std::uint64_t generation_;
};

class ColumnHeaders {
  public:
    explicit ColumnHeaders(ListView& view) : view_(view) {}

    // Appends a header after the existing ones; the width is in twips.
    void add(const QString& text, int widthTwips);
    int count() const;

  private:
    ListView& view_;
};

class ListItems {
  public:
    explicit ListItems(ListView& view) : view_(view) {}

    // Removes every row; the columns stay. Rows handed out before become unusable.
    void clear();
    std::int32_t count() const;
    // Appends a row whose text is shown in the first column.
    ListItem add(const QString& text);

  private:
    ListView& view_;
};

// Draws a cell as a report list does: the text on one line, cut with "…" only where it does not
// fit the column. A line break in a value is drawn as a blank, so a name stored with a line break
// before or after it stays readable; the row's text itself keeps the break.
class ReportCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The text as drawn on one line, before any cutting.
    static QString oneLine(const QString& text);

    // The text the cell shows: oneLine, cut to the room the style leaves beside its margins.
    QString shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // That room.
    QRect textRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    QRect textRectOf(const QStyleOptionViewItem& cell) const;
};

class ListView : public QTableWidget {
  public:
    explicit ListView(QWidget* parent);

    // The header row is shown once the report view is set.
    void setView(ListViewMode mode);
    bool isReportView() const { return reportView_; }

    void setOption(ListViewOption option, bool on);
    bool option(ListViewOption option) const;

    ColumnHeaders& columnHeaders() { return columnHeaders_; }
    ListItems& listItems() { return listItems_; }

    // What the cell shows, as drawn in its column's current width, and the room it has for it.
    QString shownText(int row, int column) const;
    QRect cellTextRect(int row, int column) const;

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void updateGeometries() override;

  private:
    friend class ListItem;
    friend class ListItems;
    friend class ColumnHeaders;

    void fitRowHeightToFont();
    QSize headerSectionSize(const QString& text) const;
    QStyleOptionViewItem cellOption(const QModelIndex& index) const;

    ReportCellDelegate cellDelegate_{this};
    ColumnHeaders columnHeaders_{*this};
    ListItems listItems_{*this};
    bool reportView_ = false;
    bool fullRowSelect_ = false;
    // The header and scroll bars still need placing once the list is shown.
    bool geometriesPending_ = false;
    // Counts the clears, so a ListItem can tell that its row is gone.
    std::uint64_t generation_ = 0;
};

}  // namespace norvessa::platform
