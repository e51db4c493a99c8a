#pragma once

#include <QString>

class QWidget;

// Every message box of the program goes through this interface, so that tests can
// answer them from a script. The texts are shown exactly as given.
class Prompts {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    virtual void information(const QString &text) = 0;
    // A warning box with the one button the caller names (OK or Yes).
    virtual void warning(const QString &text, bool yesButton = false) = 0;
    virtual void error(const QString &text) = 0;
    virtual bool confirm(const QString &text) = 0; // Yes / No; true for Yes
    virtual bool confirmWarning(const QString &text) = 0; // Yes / No with the warning icon
    virtual Answer confirmWithCancel(const QString &text) = 0; // Yes / No / Cancel

    // The prompts in force: the message boxes, or what a test installed.
    static Prompts &current();
    // Installs p (not owned); nullptr puts the message boxes back.
    static void install(Prompts *p);
    // The window the boxes are shown over.
    static void setParentWindow(QWidget *parent);
};

// The message boxes themselves, titled "Dalvino".
class MessageBoxPrompts : public Prompts {
public:
    void information(const QString &text) override;
    void warning(const QString &text, bool yesButton) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    bool confirmWarning(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
};
