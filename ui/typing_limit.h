// A limit on what the user types into a field that leaves alone what the program puts there.
// (A line edit's own maximum length would also cut a longer text that the program sets, and an
// unchanged edit would then shorten the user's data.) In a field of the program's code page, a
// character the code page lacks becomes "?" as soon as it is typed or pasted, so that what the user
// sees is what is stored.
#pragma once

#include <QLineEdit>
#include <QValidator>

namespace quillet::ui::detail {

class TypingLimit : public QValidator {
  public:
    // Installs itself on the field.
    TypingLimit(QLineEdit* field, int limit, bool code_page);

    // An edit that would make the text longer than the limit keeps only as much of what it
    // inserts as fits; one that inserts nothing that fits is refused. Deleting always works.
    State validate(QString& input, int& position) const override;

    // While one of these lives, texts are the program's own and pass unchecked (Qt validates
    // the texts that a program sets too).
    class ProgramChange {
      public:
        ProgramChange() { ++depth_; }
        ~ProgramChange() { --depth_; }
        ProgramChange(const ProgramChange&) = delete;
        ProgramChange& operator=(const ProgramChange&) = delete;
    };

  private:
    static inline int depth_ = 0;
    int limit_;
    bool code_page_;
    QString before_;  // the field's text before the edit being validated
};

}  // namespace quillet::ui::detail
