#pragma once

class QWidget;

// Starts the first of the desktop's system information programs found on PATH; tells the user,
// over `parent`, when there is none or it does not start.
void StartSysInfo(QWidget* parent = nullptr);
