#include "exec/RunEndSignal.h"

RunEndSignal::RunEndSignal(std::unique_ptr<TaskbarButton> button) : m_button(std::move(button)) {}

RunEndSignal::~RunEndSignal()
{
    Show(TaskbarProgress::None);
    if (m_flashing)
        m_button->Flash(false);
}

void RunEndSignal::RunStarted() { Show(TaskbarProgress::Indeterminate); }

void RunEndSignal::RunEnded(int exitCode)
{
    // Someone watching sees the exit banner; nothing needs to call them.
    if (m_button->InFront()) {
        Show(TaskbarProgress::None);
        return;
    }
    Show(exitCode != 0 ? TaskbarProgress::Error : TaskbarProgress::None);
    m_button->Flash(true);
    m_flashing = true;
}

void RunEndSignal::Activated()
{
    if (m_shown == TaskbarProgress::Error)
        Show(TaskbarProgress::None);
    if (m_flashing)
        m_button->Flash(false);
    m_flashing = false;
}

void RunEndSignal::Show(TaskbarProgress progress)
{
    if (progress == m_shown)
        return;
    m_shown = progress;
    m_button->ShowProgress(progress);
}
