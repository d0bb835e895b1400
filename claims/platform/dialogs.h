// The message box, the input prompt and the F4 key the forms rely on.
//
// MsgBox returns the code of the button pressed (vbOK, vbYes, vbNo) so that callers can keep it
// as text, as the forms do with `reply`. While a DialogScript is alive no real dialog opens:
// every box is recorded, information boxes are answered OK, and question boxes and input prompts
// take their answers from the script's queue. A box the script did not expect is a fault that is
// reported at once, so a test can never hang on an invisible dialog.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <variant>
#include <vector>

namespace platform {

// The two box styles of the register: an information icon with OK, a question icon with Yes/No.
enum class MsgBoxStyle { Information, Question };

inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Shows a box and returns the button code: vbOK for Information, vbYes or vbNo for Question.
int MsgBox(const QString& text, MsgBoxStyle style, const QString& title);

// Shows a one-line prompt; returns the text typed, or an empty text on Cancel.
QString InputBox(const QString& prompt, const QString& title);

// Opens the drop-down list of the focused combo box, as pressing F4 in it does. Called right after
// a box closes, when the form is not active again yet, it opens the list of the combo box the form
// focused as soon as the form is active (and the box still has the focus).
void SendF4();

// One box as the user would have seen it.
struct ShownBox {
    enum class Kind { Message, Input };
    Kind kind;
    QString text; // message text or prompt
    QString title;
    MsgBoxStyle style; // Information for input prompts

    bool operator==(const ShownBox&) const = default;
};

// Test hook. At most one script is armed at a time; it disarms when destroyed and then reports
// answers that were queued but never asked for.
class DialogScript {
public:
    using FaultHandler = std::function<void(const QString& fault)>;

    // The default fault handler prints the fault and aborts the process.
    explicit DialogScript(FaultHandler on_fault = {});
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // The answer of the next question box (vbYes or vbNo).
    DialogScript& answer(int button);
    // The text of the next input prompt; an empty text stands for Cancel.
    DialogScript& type(const QString& text);

    // Every box shown since the script was armed, in order.
    const std::vector<ShownBox>& shown() const { return shown_; }
    // Forgets the boxes shown so far (the queue is kept).
    void clear_shown() { shown_.clear(); }

    // Used by MsgBox and InputBox while the script is armed.
    int take_button(const ShownBox& box);
    QString take_text(const ShownBox& box);
    static DialogScript* armed();

private:
    using Answer = std::variant<int, QString>;
    void fault(const QString& what);

    FaultHandler on_fault_;
    std::deque<Answer> queue_;
    std::vector<ShownBox> shown_;
};

} // namespace platform
