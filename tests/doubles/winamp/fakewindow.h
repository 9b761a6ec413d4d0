#pragma once
#include "plugins/winamp_component/winampwindow.h"
#include "tests/doubles/winamp/winampmodel.h"

// The model as the component's window, without a window: answers at once, or not at all.
namespace standin {

class fakeWindow : public winamp::window {
public:
    explicit fakeWindow(winampModel& model) : model_(model) {}
    bool present = true;

    bool ipc(int number, intptr_t wParam, intptr_t& result) override
    {
        if (!present)
            return false;
        result = model_.answer(wParam, number);
        return true;
    }
    bool press(int id) override
    {
        if (present)
            model_.press(id);
        return present;
    }

private:
    winampModel& model_;
};

} // namespace standin
