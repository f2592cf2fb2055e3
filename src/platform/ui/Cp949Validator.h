#pragma once
#include <QValidator>

class QLineEdit;

// Limits an edit by CP949 bytes (a Hangul syllable counts two) and refuses
// characters CP949 cannot hold, as the tables and files that take the text
// do. With digitsOnly only 0-9 pass.
class Cp949Validator : public QValidator {
    Q_OBJECT
public:
    Cp949Validator(int maxBytes, bool digitsOnly, QObject* parent);
    State validate(QString& input, int& pos) const override;

    // Installs a validator on the edit.
    static void limit(QLineEdit* edit, int maxBytes, bool digitsOnly = false);

private:
    int maxBytes_;
    bool digitsOnly_;
};
