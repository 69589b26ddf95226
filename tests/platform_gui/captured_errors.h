#pragma once

#include <QApplication>
#include <QList>
#include <QString>
#include <QWidget>

#include "platform/gui/error_report.h"

// Collects the error reports made while it lives, instead of showing them, together with whether
// any window was on screen at the moment of each report.
class CapturedErrors {
  public:
    // The report's texts, decoded for comparing with Qt strings.
    struct Report {
        QString summary;
        QString detail;
        QString reason;
    };
    struct Captured {
        Report report;
        bool windowVisible;
    };

    CapturedErrors()
        : previous_(norvessa::platform::setErrorPresenter(
              [this](const norvessa::platform::ErrorReport& report) {
                  captured_.append({{QString::fromStdString(report.summary),
                                     QString::fromStdString(report.detail),
                                     QString::fromStdString(report.reason)},
                                    anyWindowVisible()});
              })) {}
    ~CapturedErrors() { norvessa::platform::setErrorPresenter(previous_); }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;

    const QList<Captured>& reports() const { return captured_; }

    static bool anyWindowVisible() {
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) {
                return true;
            }
        }
        return false;
    }

  private:
    QList<Captured> captured_;
    norvessa::platform::ErrorPresenter previous_;
};
