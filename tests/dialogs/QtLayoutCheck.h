#pragma once

#include <QWidget>

#include <map>
#include <string>
#include <vector>

// What is wrong with the look of a window built from a template: texts that do not fit
// their control, controls that overlap (a group box only by its caption), and controls
// outside the window. One line per fault; empty when it looks right.
std::vector<std::string> CheckLayout(QWidget* pWindow, const std::map<int, QWidget*>& widgets);
