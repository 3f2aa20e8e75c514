#pragma once
// The application object: one per process. InitInstance runs start-up and
// returns FALSE, so the program ends once its one dialog has closed.

#include "framework/WinApp.h"

class CTavrelApp : public CWinApp {
public:
    CTavrelApp();
    BOOL InitInstance() override;
};
