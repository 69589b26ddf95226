#include "platform/gui/list_view.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <string>
#include <utility>

#include "platform/core/platform_error.h"
#include "platform/gui/twips.h"

namespace norvessa::platform {
namespace {

QTableWidgetItem* newCell(const QString& text) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return cell;
}

bool isLineBreak(QChar character) {
    return character == QLatin1Char('\r') || character == QLatin1Char('\n') ||
           character == QChar::LineSeparator || character == QChar::ParagraphSeparator;
}

}  // namespace

QString ReportCellDelegate::oneLine(const QString& text) {
    QStringList parts;
    QString part;
    for (const QChar character : text) {
        if (!isLineBreak(character)) {
            part.append(character);
        } else if (!part.isEmpty()) {
            parts.append(std::exchange(part, QString()));
        }
    }
    if (!part.isEmpty()) {
        parts.append(part);
    }
    return parts.join(QLatin1Char(' '));
}

QRect ReportCellDelegate::textRect(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    return textRectOf(cell);
}

QRect ReportCellDelegate::textRectOf(const QStyleOptionViewItem& option) const {
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // The margin the style keeps on either side of an item's text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget)
        .adjusted(margin, 0, -margin, 0);
}

QString ReportCellDelegate::shownText(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    return QFontMetrics(cell.font).elidedText(oneLine(cell.text), Qt::ElideRight,
                                              textRectOf(cell).width());
}

void ReportCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString shown = shownText(option, index);
    const QRect room = textRectOf(cell);
    // The style draws the background, the selection and the focus; the text is drawn here.
    cell.text.clear();
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
    const QPalette::ColorRole role =
        (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(group, role));
    painter->drawText(room, static_cast<int>(cell.displayAlignment) | Qt::TextSingleLine, shown);
    painter->restore();
}

ListItem::ListItem(ListView& view, int row, std::uint64_t generation)
    : view_(&view), row_(row), generation_(generation) {}

ListView& ListItem::checkedView() const {
    ListView* view = view_.data();
    if (view == nullptr) {
        throw PlatformError("list view: the row's list no longer exists");
    }
    if (view->generation_ != generation_) {
        throw PlatformError("list view: row " + std::to_string(row_ + 1) +
                            " was removed when the list was cleared");
    }
    return *view;
}

int ListItem::checkedColumn(const ListView& view, int index) const {
    const int lastIndex = view.columnCount() - 1;
    if (index < 1 || index > lastIndex) {
        throw PlatformError("list view: sub-item " + std::to_string(index) +
                            " is out of range (the list has sub-items 1 to " +
                            std::to_string(lastIndex) + ")");
    }
    return index;
}

QString ListItem::text() const {
    const ListView& view = checkedView();
    const QTableWidgetItem* cell = view.item(row_, 0);
    return cell != nullptr ? cell->text() : QString();
}

QString ListItem::subItem(int index) const {
    const ListView& view = checkedView();
    const QTableWidgetItem* cell = view.item(row_, checkedColumn(view, index));
    return cell != nullptr ? cell->text() : QString();
}

void ListItem::setSubItem(int index, const QString& text) {
    ListView& view = checkedView();
    const int column = checkedColumn(view, index);
    if (QTableWidgetItem* cell = view.item(row_, column); cell != nullptr) {
        cell->setText(text);
    } else {
        view.setItem(row_, column, newCell(text));
    }
}

void ColumnHeaders::add(const QString& text, int widthTwips) {
    const int column = view_.columnCount();
    view_.insertColumn(column);
    auto* header = new QTableWidgetItem(text);
    header->setData(Qt::SizeHintRole, view_.headerSectionSize(text));
    view_.setHorizontalHeaderItem(column, header);
    view_.horizontalHeader()->resizeSection(column, twipsToPixels(widthTwips));
}

int ColumnHeaders::count() const {
    return view_.columnCount();
}

void ListItems::clear() {
    view_.setRowCount(0);
    ++view_.generation_;
}

std::int32_t ListItems::count() const {
    return view_.rowCount();
}

ListItem ListItems::add(const QString& text) {
    const int row = view_.rowCount();
    view_.insertRow(row);
    // A row needs a column to hold its text even before any header was added.
    if (view_.columnCount() == 0) {
        view_.setColumnCount(1);
    }
    view_.setItem(row, 0, newCell(text));
    return ListItem(view_, row, view_.generation_);
}

ListView::ListView(QWidget* parent) : QTableWidget(parent) {
    // The list only shows rows: no editing in place, no sorting, one row selected at a time.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSortingEnabled(false);
    setWordWrap(false);
    setShowGrid(false);
    // Tab moves on to the window's next control instead of from cell to cell.
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalHeader()->hide();
    horizontalHeader()->hide();
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(0);
    setItemDelegate(&cellDelegate_);
    fitRowHeightToFont();
}

QStyleOptionViewItem ListView::cellOption(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    // The grid line takes the last pixel of a cell, as the table draws it.
    if (showGrid()) {
        option.rect.adjust(0, 0, -1, -1);
    }
    return option;
}

QString ListView::shownText(int row, int column) const {
    const QModelIndex index = model()->index(row, column);
    return cellDelegate_.shownText(cellOption(index), index);
}

QRect ListView::cellTextRect(int row, int column) const {
    const QModelIndex index = model()->index(row, column);
    return cellDelegate_.textRect(cellOption(index), index);
}

void ListView::setView(ListViewMode mode) {
    switch (mode) {
        case ListViewMode::Report:
            reportView_ = true;
            horizontalHeader()->show();
            break;
    }
}

void ListView::setOption(ListViewOption option, bool on) {
    switch (option) {
        case ListViewOption::GridLines:
            setShowGrid(on);
            fitRowHeightToFont();
            break;
        case ListViewOption::FullRowSelect:
            fullRowSelect_ = on;
            setSelectionBehavior(on ? QAbstractItemView::SelectRows
                                    : QAbstractItemView::SelectItems);
            break;
    }
}

bool ListView::option(ListViewOption option) const {
    switch (option) {
        case ListViewOption::GridLines:
            return showGrid();
        case ListViewOption::FullRowSelect:
            return fullRowSelect_;
    }
    return false;
}

// While the list is not on screen, placing its header after each added column would measure
// every header text again for each of the twelve columns; it is placed once, when the list is
// shown.
void ListView::updateGeometries() {
    if (!isVisible()) {
        geometriesPending_ = true;
        return;
    }
    geometriesPending_ = false;
    QTableWidget::updateGeometries();
}

void ListView::showEvent(QShowEvent* event) {
    if (geometriesPending_) {
        updateGeometries();
    }
    QTableWidget::showEvent(event);
}

void ListView::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitRowHeightToFont();
        for (int column = 0; column < columnCount(); ++column) {
            if (QTableWidgetItem* header = horizontalHeaderItem(column); header != nullptr) {
                header->setData(Qt::SizeHintRole, headerSectionSize(header->text()));
            }
        }
    }
}

// A header section's size as the header measures it, but in the header's own font: the header
// itself measures in bold, which loads a bold Song face of the list's size only for that, while
// the sections are drawn in the regular face, which is as tall.
QSize ListView::headerSectionSize(const QString& text) const {
    const QHeaderView* header = horizontalHeader();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Horizontal;
    option.text = text;
    option.fontMetrics = header->fontMetrics();
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header);
}

// A report list's row: one line of the font, a pixel of air above and below, and the grid line
// when one is drawn. In the designed face at 10.5 pt that is 17 pixels, so the frame shows more
// than nine rows without scrolling.
void ListView::fitRowHeightToFont() {
    const int rowHeight = fontMetrics().height() + 2 + (showGrid() ? 1 : 0);
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
}

}  // namespace norvessa::platform
