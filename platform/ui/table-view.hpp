#pragma once
// Headless table view: columns with a data cell each, rows from a data source, one
// selected row at most, and a delegate asked before the selection changes. "Drawing" a
// row asks the data source for each column's value and lets the column's cell draw
// into the table, which records any image drawn.

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "cell.hpp"
#include "controls.hpp"

namespace t48::ui {

class TableView;

// A cell's object value: a text, or a number (a check box's state).
using ObjectValue = std::variant<std::string, int>;

class TableColumn {
public:
    explicit TableColumn(std::string identifier) : identifier_(std::move(identifier)) {}
    const std::string& identifier() const { return identifier_; }
    // The column's header ("" for none).
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    // The cell that draws every row of the column (a text cell at first).
    Cell* dataCell() const { return dataCell_.get(); }
    void setDataCell(std::unique_ptr<Cell> cell) { dataCell_ = std::move(cell); }

private:
    std::string identifier_;
    std::string title_;
    std::unique_ptr<Cell> dataCell_ = std::make_unique<Cell>();
};

class TableDataSource {
public:
    virtual ~TableDataSource() = default;
    virtual int numberOfRowsInTableView(TableView& table) = 0;
    virtual ObjectValue objectValueForTableColumn(TableView& table, TableColumn& column,
                                                  int row) = 0;
    // A user's edit of a cell (a click on a check box cell).
    virtual void setObjectValue(TableView&, const ObjectValue&, TableColumn&, int) {}
};

class TableDelegate {
public:
    virtual ~TableDelegate() = default;
    virtual bool selectionShouldChangeInTableView(TableView&) { return true; }
    virtual bool shouldSelectRow(TableView&, int) { return true; }
    virtual void tableViewSelectionDidChange(TableView&) {}
};

// One column of a drawn row.
struct DrawnCell {
    std::string column;
    ObjectValue value;
    bool drewImage = false;
};

class TableView : public Control {
public:
    ControlType type() const override { return ControlType::TableView; }

    void addTableColumn(std::unique_ptr<TableColumn> column);
    TableColumn* tableColumnWithIdentifier(const std::string& identifier) const;
    const std::vector<std::unique_ptr<TableColumn>>& tableColumns() const { return columns_; }

    void setDataSource(TableDataSource* source) { dataSource_ = source; }
    void setDelegate(TableDelegate* delegate) { delegate_ = delegate; }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }

    // Asks the data source for the row count again; a selection past the new end is
    // dropped (and the delegate told).
    void reloadData();
    int numberOfRows() const { return rows_; }
    // -1 when no row is selected.
    int selectedRow() const { return selected_; }

    // Selection by the program: the delegate is not asked, but hears of a change.
    void selectRow(int row);
    void deselectAll();

    // Selection by the user (a click on a row, or on no row for -1): the delegate may
    // refuse. True when the row (or no row) is selected afterwards.
    bool userSelectRow(int row);
    // A user's click on the check box cell of `row` in `column`: the data source gets
    // the toggled value. False when there is no such row, column or check box cell.
    bool userClickCell(int row, const std::string& column);

    // Draws `row`: each column's value from the data source, drawn by its cell.
    std::vector<DrawnCell> drawRow(int row);

private:
    void changeSelection(int row);

    std::vector<std::unique_ptr<TableColumn>> columns_;
    TableDataSource* dataSource_ = nullptr;
    TableDelegate* delegate_ = nullptr;
    Font font_ = Font::systemFontOfSize(13);
    int rows_ = 0;
    int selected_ = -1;
};

}  // namespace t48::ui
