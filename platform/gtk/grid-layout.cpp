#include "grid-layout.hpp"

#include <algorithm>
#include <cmath>

namespace t48::gtkui::detail {
namespace {

// Edges closer than this are one edge.
constexpr double kEdgeTolerance = 0.5;

std::vector<double> distinctEdges(std::vector<double> edges) {
    std::sort(edges.begin(), edges.end());
    std::vector<double> distinct;
    for (double edge : edges) {
        if (distinct.empty() || edge - distinct.back() > kEdgeTolerance) {
            distinct.push_back(edge);
        }
    }
    return distinct;
}

int indexOf(const std::vector<double>& edges, double edge) {
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (std::fabs(edges[i] - edge) <= kEdgeTolerance) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

bool isLabel(ui::View* view) {
    ui::Control* control = view->asControl();
    return control != nullptr && control->type() == ui::ControlType::Label;
}

// A control that shows no text of its own to be named by: a popup, a text field, a table.
bool takesLabel(ui::View* view) {
    ui::Control* control = view->asControl();
    if (control == nullptr) {
        return false;
    }
    switch (control->type()) {
        case ui::ControlType::PopUpButton:
        case ui::ControlType::TextField:
        case ui::ControlType::TableView:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<GridCell> gridCells(const std::vector<ui::View*>& views) {
    std::vector<double> lefts;
    std::vector<double> tops;
    for (ui::View* view : views) {
        lefts.push_back(view->frame().x);
        tops.push_back(view->frame().y);
    }
    const std::vector<double> columns = distinctEdges(lefts);
    const std::vector<double> rows = distinctEdges(tops);
    std::vector<GridCell> cells;
    for (ui::View* view : views) {
        const ui::Rect& frame = view->frame();
        GridCell cell{indexOf(columns, frame.x), indexOf(rows, frame.y), 0};
        for (double left : columns) {
            if (left >= frame.x - kEdgeTolerance && left < frame.x + frame.width - kEdgeTolerance) {
                ++cell.columns;
            }
        }
        cell.columns = std::max(cell.columns, 1);
        cells.push_back(cell);
    }
    return cells;
}

std::vector<int> labelOf(const std::vector<ui::View*>& views, const std::vector<GridCell>& cells) {
    const int count = static_cast<int>(views.size());
    std::vector<int> labels(views.size(), -1);
    auto aloneInRow = [&](int index) {
        for (int other = 0; other < count; ++other) {
            if (other != index && cells[other].row == cells[index].row) {
                return false;
            }
        }
        return true;
    };
    // The view nearest to the left of `index` in its row, or -1.
    auto leftNeighbour = [&](int index) {
        int nearest = -1;
        for (int j = 0; j < count; ++j) {
            if (cells[j].row == cells[index].row && cells[j].column < cells[index].column &&
                (nearest < 0 || cells[j].column > cells[nearest].column)) {
                nearest = j;
            }
        }
        return nearest;
    };
    for (int i = 0; i < count; ++i) {
        if (!takesLabel(views[i])) {
            continue;
        }
        const int left = leftNeighbour(i);
        int label = left >= 0 && isLabel(views[left]) ? left : -1;
        for (int j = 0; label < 0 && left < 0 && j < count; ++j) {
            if (isLabel(views[j]) && cells[j].row == cells[i].row - 1 && aloneInRow(j)) {
                label = j;
            }
        }
        labels[i] = label;
    }
    return labels;
}

}  // namespace t48::gtkui::detail
