#pragma once
// The plain message boxes of the program, captioned with the application title, and the one
// confirmation box. Tests may install their own presentation.

#include <QString>

#include <functional>

// Information box with an "OK" button ("Прибор не обнаружен !", "Такого файла нет!").
void ShowInformation(const QString& text);

// Confirmation box captioned "Confirm" with a question icon, "Yes" (default, Enter) and "No"
// (cancel, Esc). True unless the answer was "No"; closing the box otherwise counts as "Yes".
bool Confirm(const QString& text);

// The same box for a step that may do harm: "No" is the default, and only a real "Yes" goes on.
bool ConfirmRisk(const QString& text);

using InformationPresenter = std::function<void(const QString& text)>;
using ConfirmPresenter = std::function<bool(const QString& text)>;
// An empty function restores the real boxes.
void SetInformationPresenter(InformationPresenter presenter);
void SetConfirmPresenter(ConfirmPresenter presenter);
