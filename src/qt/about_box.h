#pragma once
// The about box: a portrait and a few lines about the author, with links to the author's web
// site and e-mail address. Following a link closes it; so does Esc.
#include <QWidget>

#include "core/shell.h"

class TAboutForm : public QWidget {
  public:
    static constexpr int kClientWidth = 397;
    static constexpr int kClientHeight = 176;

    explicit TAboutForm(Shell& shell, QWidget* parent = nullptr);

    void la_website_2Click();
    void la_email_2Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Shell& shell_;
    bool placed_ = false;
};
