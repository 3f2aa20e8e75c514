#pragma once
// What a console's taskbar button tells a user who is not watching: busy
// while the command runs; once it ends out of sight, flashing until the
// user comes back, and red when it failed. Windowless: the button itself is
// behind TaskbarButton (the system's taskbar, or a stand-in in tests).

#include <memory>

enum class TaskbarProgress {
    None,           // the button as usual
    Indeterminate,  // busy, for no known length of time
    Error,          // a run that failed, not yet seen
};

class TaskbarButton {
public:
    virtual ~TaskbarButton() = default;
    virtual void ShowProgress(TaskbarProgress progress) = 0;
    // On: flash until the window is activated; off: stop at once.
    virtual void Flash(bool on) = 0;
    // True when the user looks at the console (it or a box of it is the
    // foreground window).
    virtual bool InFront() = 0;
};

class RunEndSignal {
public:
    explicit RunEndSignal(std::unique_ptr<TaskbarButton> button);
    // Leaves the button as it was before the run.
    ~RunEndSignal();
    RunEndSignal(const RunEndSignal&) = delete;
    RunEndSignal& operator=(const RunEndSignal&) = delete;

    void RunStarted();
    void RunEnded(int exitCode);
    // The console was activated: whatever waited for the user was seen.
    void Activated();

private:
    void Show(TaskbarProgress progress);

    std::unique_ptr<TaskbarButton> m_button;
    TaskbarProgress m_shown = TaskbarProgress::None;
    bool m_flashing = false;
};
