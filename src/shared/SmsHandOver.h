#pragma once
#include <QList>
#include <QString>

#include <functional>
#include <utility>

class QWidget;

// One recipient as the roster or the collection window hands him over to the
// SMS composer.
struct SmsRecipient {
    QString sno;    // student number
    QString nm;     // name
    QString item;   // item name (empty from the roster)
    QString amount; // amount text, digits grouped ("0" from the roster)
    QString date;   // transfer date text (empty from the roster)
    QString tel;    // mobile number
    QString scd;    // grade code
    QString msg;    // the text made for him
};

// The collection window sits below the students' SMS composer, so it opens the
// composer through this hand-over, which the composer's unit fills at start.
namespace SmsHandOver {

// Shows the composer modally for the recipients; false, with nothing shown,
// when there is no one to send to.
using Composer = std::function<bool(const QList<SmsRecipient>& recipients, QWidget* parent)>;

void setComposer(Composer composer);
// False when no composer is registered or it refused the list.
bool compose(const QList<SmsRecipient>& recipients, QWidget* parent);

} // namespace SmsHandOver

struct SmsComposerRegistrar {
    explicit SmsComposerRegistrar(SmsHandOver::Composer composer) {
        SmsHandOver::setComposer(std::move(composer));
    }
};
