#include "table-view.hpp"

#include <algorithm>

namespace t48::ui {
namespace {

constexpr double kRowHeight = 18;
constexpr double kColumnWidth = 100;

}  // namespace

void TableView::addTableColumn(std::unique_ptr<TableColumn> column) {
    if (column) {
        columns_.push_back(std::move(column));
    }
}

TableColumn* TableView::tableColumnWithIdentifier(const std::string& identifier) const {
    for (const auto& column : columns_) {
        if (column->identifier() == identifier) {
            return column.get();
        }
    }
    return nullptr;
}

void TableView::reloadData() {
    rows_ = dataSource_ != nullptr ? std::max(dataSource_->numberOfRowsInTableView(*this), 0) : 0;
    if (selected_ >= rows_) {
        changeSelection(-1);
    }
    didChange();
}

void TableView::changeSelection(int row) {
    if (row == selected_) {
        return;
    }
    selected_ = row;
    if (delegate_ != nullptr) {
        delegate_->tableViewSelectionDidChange(*this);
    }
    didChange();
}

void TableView::selectRow(int row) {
    if (row >= 0 && row < rows_) {
        changeSelection(row);
    }
}

void TableView::deselectAll() {
    changeSelection(-1);
}

bool TableView::userSelectRow(int row) {
    if (!isEnabled() || row < -1 || row >= rows_) {
        return false;
    }
    if (delegate_ != nullptr && !delegate_->selectionShouldChangeInTableView(*this)) {
        return false;
    }
    if (row >= 0 && delegate_ != nullptr && !delegate_->shouldSelectRow(*this, row)) {
        return false;
    }
    changeSelection(row);
    return true;
}

bool TableView::userClickCell(int row, const std::string& columnIdentifier) {
    TableColumn* column = tableColumnWithIdentifier(columnIdentifier);
    if (!isEnabled() || dataSource_ == nullptr || column == nullptr || row < 0 || row >= rows_) {
        return false;
    }
    // The value the data source answers installs the column's check box cell.
    const ObjectValue shown = dataSource_->objectValueForTableColumn(*this, *column, row);
    ButtonCell* box = column->dataCell() != nullptr ? column->dataCell()->asButtonCell() : nullptr;
    if (box == nullptr) {
        return false;
    }
    const int state = std::holds_alternative<int>(shown) ? std::get<int>(shown) : box->state();
    dataSource_->setObjectValue(*this, ObjectValue{state == 0 ? 1 : 0}, *column, row);
    return true;
}

std::vector<DrawnCell> TableView::drawRow(int row) {
    std::vector<DrawnCell> drawn;
    if (dataSource_ == nullptr || row < 0 || row >= rows_) {
        return drawn;
    }
    double x = 0;
    for (const auto& column : columns_) {
        DrawnCell cell{column->identifier(),
                       dataSource_->objectValueForTableColumn(*this, *column, row), false};
        const std::size_t before = drawings().size();
        if (Cell* dataCell = column->dataCell()) {
            if (ButtonCell* box = dataCell->asButtonCell();
                box != nullptr && std::holds_alternative<int>(cell.value)) {
                box->setState(std::get<int>(cell.value));
            }
            dataCell->drawInteriorWithFrame({x, row * kRowHeight, kColumnWidth, kRowHeight}, *this);
        }
        cell.drewImage = drawings().size() > before;
        drawn.push_back(std::move(cell));
        x += kColumnWidth;
    }
    return drawn;
}

}  // namespace t48::ui
