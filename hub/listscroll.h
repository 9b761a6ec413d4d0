#pragma once

// Which rows a console list shows when it has more than fit: the first shown row, kept so that
// no space is left below the last row. Plain numbers, so they can be checked without a window.
namespace hub {

class listscroll {
public:
    // rows: how many the list has; visible: how many whole rows fit its height.
    void fit(int rows, int visible);

    int first() const { return first_; }
    int rows() const { return rows_; }
    int visible() const { return visible_; }
    int lastFirst() const;
    // One past the last row shown, a row cut by the list's bottom included.
    int endShown() const;

    // Each says whether the shown rows changed.
    bool scrollTo(int first);
    bool scrollBy(int rows) { return scrollTo(first_ + rows); }
    // A wheel's turn in its units (120 a notch, positive away from the user); a part of a
    // notch is kept until the rest comes.
    bool wheel(int delta, int rowsPerNotch);

    // The list's row at a client y (it may be past the last row), or -1 above the list.
    int rowAt(int y, int rowHeight) const;

    static constexpr int notch = 120;

private:
    int rows_ = 0;
    int visible_ = 0;
    int first_ = 0;
    int wheelRest_ = 0;
};

} // namespace hub
