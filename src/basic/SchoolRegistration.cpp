#include "basic/SchoolRegistration.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/sys/System.h"
#include "platform/text/Cp949.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kKey = QStringLiteral("SchoolInfo");
const QString kMenu = QStringLiteral("학교등록");

int indexOf(const QString& name) {
    const auto& f = SchoolRegistration::fields();
    for (int i = 0; i < f.size(); ++i)
        if (f.at(i).name == name) return i;
    return -1;
}

} // namespace

QString& SchoolValues::text(const QString& name) {
    return texts[indexOf(name)];
}
QString SchoolValues::text(const QString& name) const {
    return texts.value(indexOf(name));
}

namespace SchoolRegistration {

const QList<Field>& fields() {
    // Widths are those of the SCHOOLINFO columns; the code and the password
    // are kept shorter by their edits.
    static const QList<Field> f{
        {QStringLiteral("SchCode"), QStringLiteral("업체코드"), 4},
        {QStringLiteral("UxPwd"), QStringLiteral("비밀번호"), 6},
        {QStringLiteral("SchNm"), QStringLiteral("학교명"), 30},
        {QStringLiteral("SchPrsdNm"), QStringLiteral("학교장명"), 10},
        {QStringLiteral("SchTel"), QStringLiteral("대표전화"), 20},
        {QStringLiteral("SchFax"), QStringLiteral("팩스번호"), 20},
        {QStringLiteral("SchPost"), QStringLiteral("우편번호"), 10},
        {QStringLiteral("SchAddr"), QStringLiteral("주소"), 50},
        {QStringLiteral("KidNm"), QStringLiteral("유치원명"), 30},
        {QStringLiteral("KidPrsdNm"), QStringLiteral("유치원장명"), 10},
        {QStringLiteral("KidTel"), QStringLiteral("유치원대표전화"), 20},
        {QStringLiteral("KidFax"), QStringLiteral("유치원팩스"), 20},
        {QStringLiteral("KidPost"), QStringLiteral("유치원우편번호"), 10},
        {QStringLiteral("KidAddr"), QStringLiteral("유치원주소"), 50},
    };
    return f;
}

Loaded load() {
    Loaded l;
    {
        Query q(QStringLiteral("SELECT v_a00c FROM SCHOOLINFO"));
        l.rowExists = q.exec() && q.next() && !q.str(0).isEmpty();
    }
    if (!Registry::keyExists(kKey)) {
        for (const QString& n :
             {QStringLiteral("SchCode"), QStringLiteral("SelctSch"), QStringLiteral("SchNm"),
              QStringLiteral("SchPrsdNm"), QStringLiteral("SchTel"), QStringLiteral("SchFax"),
              QStringLiteral("SchPost"), QStringLiteral("SchAddr"), QStringLiteral("KidNm"),
              QStringLiteral("KidPrsdNm"), QStringLiteral("KidTel"), QStringLiteral("KidFax"),
              QStringLiteral("KidPost"), QStringLiteral("KidAddr")})
            Registry::writeString(kKey, n, QString());
        l.values.UxHakB = SNoLen;
        return l;
    }
    l.keyExisted = true;
    const auto& f = fields();
    for (int i = 0; i < f.size(); ++i)
        l.values.texts[i] = Registry::readString(kKey, f.at(i).name);
    l.values.SelctSch = Registry::readString(kKey, QStringLiteral("SelctSch"));
    // A missing mode keeps the one in use rather than failing the opening.
    l.values.UxHakB = Registry::readInteger(kKey, QStringLiteral("UxHakB")).value_or(SNoLen);
    return l;
}

QString validate(const SchoolValues& v, QString* message) {
    const auto& f = fields();
    for (int i = 0; i < f.size(); ++i) {
        const QString& t = v.texts.at(i);
        // A line break would end the settings line and start another value
        // (or a whole key) of its own.
        const bool control =
            std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
        if (control || !Cp949::canEncode(t)) {
            if (message) *message = QStringLiteral("%1에 사용할 수 없는 문자가 있습니다.").arg(f.at(i).label);
            return f.at(i).name;
        }
        if (Cp949::byteLength(t) > f.at(i).maxBytes) {
            if (message)
                *message = QStringLiteral("%1은(는) %2바이트(한글 %3자)까지 입력할 수 있습니다.")
                               .arg(f.at(i).label)
                               .arg(f.at(i).maxBytes)
                               .arg(f.at(i).maxBytes / 2);
            return f.at(i).name;
        }
    }
    return {};
}

bool save(const SchoolValues& snapshot, const SchoolValues& now, bool rowExists, QString* error) {
    bool written = true;
    QStringList logs;
    if (now.SelctSch == QLatin1String("1") && snapshot.SelctSch != QLatin1String("1")) {
        written &= Registry::writeString(kKey, QStringLiteral("SelctSch"), QStringLiteral("1"));
        logs << QStringLiteral("[수정]학교선택 : 초등학교");
    } else if (now.SelctSch == QLatin1String("2") && snapshot.SelctSch != QLatin1String("2")) {
        written &= Registry::writeString(kKey, QStringLiteral("SelctSch"), QStringLiteral("2"));
        logs << QStringLiteral("[수정]학교선택 : 중,고등학교");
    }
    const auto& f = fields();
    for (int i = 0; i < f.size(); ++i) {
        const QString& t = now.texts.at(i);
        if (t == snapshot.texts.at(i)) continue;
        written &= Registry::writeString(kKey, f.at(i).name, t);
        const bool isPassword = f.at(i).name == QLatin1String("UxPwd");
        logs << QStringLiteral("[수정]%1 : %2").arg(f.at(i).label, isPassword ? QStringLiteral("****") : t);
        if (f.at(i).name == QLatin1String("SchCode")) DMLib->FSchCode = t;
        if (isPassword) DMLib->FPassword = t;
    }
    if (now.UxHakB == 5 || now.UxHakB == 6) {
        SNoLen = now.UxHakB;
        written &= Registry::writeInteger(kKey, QStringLiteral("UxHakB"), now.UxHakB);
    }
    if (!written) {
        if (error) *error = Registry::path();
        return false;
    }

    Transaction tx;
    for (const QString& l : logs)
        DMLib->WriteJobLog(kMenu, l);
    // The mirror row: a failure here leaves the settings saved, as before.
    const QString kind =
        now.SelctSch.isEmpty() ? Registry::readString(kKey, QStringLiteral("SelctSch")) : now.SelctSch;
    if (rowExists) {
        ColumnValues set;
        for (const QString& c :
             {QStringLiteral("KidAddr"), QStringLiteral("KidFax"), QStringLiteral("KidNm"),
              QStringLiteral("KidPost"), QStringLiteral("KidPrsdNm"), QStringLiteral("KidTel"),
              QStringLiteral("SchAddr"), QStringLiteral("SchCode"), QStringLiteral("SchFax"),
              QStringLiteral("SchNm"), QStringLiteral("SchPost"), QStringLiteral("SchPrsdNm"),
              QStringLiteral("SchTel")})
            set.append({c, now.text(c).trimmed()});
        set.append({QStringLiteral("SelctSch"), kind});
        set.append({QStringLiteral("UxPwd"), now.text(QStringLiteral("UxPwd"))});
        Database::updateRows(QStringLiteral("SCHOOLINFO"), set,
                             {{QStringLiteral("v_a00c"), QStringLiteral("UCRUX")}});
    } else if (Database::tableExists(QStringLiteral("SCHOOLINFO"))) {
        Query(QStringLiteral("DELETE FROM SCHOOLINFO")).exec();
        ColumnValues row{{QStringLiteral("v_a00c"), QStringLiteral("UCRUX")}};
        for (const QString& c :
             {QStringLiteral("KidAddr"), QStringLiteral("KidFax"), QStringLiteral("KidNm"),
              QStringLiteral("KidPost"), QStringLiteral("KidPrsdNm"), QStringLiteral("KidTel"),
              QStringLiteral("SchAddr"), QStringLiteral("SchCode"), QStringLiteral("SchFax"),
              QStringLiteral("SchNm"), QStringLiteral("SchPost"), QStringLiteral("SchPrsdNm"),
              QStringLiteral("SchTel")})
            row.append({c, now.text(c).trimmed()});
        row.append({QStringLiteral("SelctSch"), kind});
        row.append(
            {QStringLiteral("UxAut"), Registry::readInteger(kKey, QStringLiteral("UxAut")).value_or(0)});
        row.append(
            {QStringLiteral("UxAutS"), Registry::readInteger(kKey, QStringLiteral("UxAutS")).value_or(0)});
        row.append(
            {QStringLiteral("UxBack"), Registry::readString(kKey, QStringLiteral("UxBack")).trimmed()});
        row.append(
            {QStringLiteral("UxHxls"), Registry::readString(kKey, QStringLiteral("UxHxls")).trimmed()});
        row.append({QStringLiteral("UxPwd"), Registry::readString(kKey, QStringLiteral("UxPwd")).trimmed()});
        Database::insertRow(QStringLiteral("SCHOOLINFO"), row);
    }
    tx.commit();
    return true;
}

bool registerSeal(const QString& source, QString* error) {
    const QString target = DMLib->path(QStringLiteral("schoolseal.bmp"));
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    bool ok = QFileInfo(source).isFile() && QFile::copy(source, part);
    if (ok) ok = System::moveFileReplace(part, target);
    if (!ok) {
        QFile::remove(part);
        if (error) *error = source;
    }
    return ok;
}

} // namespace SchoolRegistration
