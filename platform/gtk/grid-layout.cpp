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
    for (int i = 0; i < count; ++i) {
        if (isLabel(views[i]) || views[i]->asControl() == nullptr) {
            continue;
        }
        int best = -1;
        for (int j = 0; j < count; ++j) {
            if (!isLabel(views[j])) {
                continue;
            }
            const bool leftInRow =
                cells[j].row == cells[i].row && cells[j].column < cells[i].column;
            if (leftInRow && (best < 0 || cells[j].column > cells[best].column)) {
                best = j;
            }
        }
        for (int j = 0; best < 0 && j < count; ++j) {
            if (isLabel(views[j]) && cells[j].row == cells[i].row - 1 && aloneInRow(j)) {
                best = j;
            }
        }
        labels[i] = best;
    }
    return labels;
}

}  // namespace t48::gtkui::detail
