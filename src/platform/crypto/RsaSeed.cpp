#include "platform/crypto/RsaSeed.h"

#include "platform/sys/System.h"

#include <QFile>

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/provider.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>

#include <mutex>

namespace {

// A library context of our own with the legacy provider (SEED lives only
// there) and the default one (RSA, SHA-1, the random source). Made once,
// kept for the life of the process.
struct CryptoLib {
    OSSL_LIB_CTX* ctx = nullptr;
    EVP_CIPHER* seedCbc = nullptr;
    QString error;
};

const CryptoLib& lib() {
    static CryptoLib l;
    static std::once_flag once;
    std::call_once(once, [] {
        l.ctx = OSSL_LIB_CTX_new();
        if (!l.ctx) {
            l.error = QStringLiteral("OpenSSL library context unavailable");
            return;
        }
        if (!OSSL_PROVIDER_load(l.ctx, "legacy")) {
            l.error = QStringLiteral("OpenSSL legacy provider not found (SEED needs it)");
            ERR_clear_error();
        }
        if (!OSSL_PROVIDER_load(l.ctx, "default")) {
            l.error = QStringLiteral("OpenSSL default provider not found");
            ERR_clear_error();
            return;
        }
        l.seedCbc = EVP_CIPHER_fetch(l.ctx, "SEED-CBC", nullptr);
        if (!l.seedCbc && l.error.isEmpty()) l.error = QStringLiteral("SEED-CBC not offered by OpenSSL");
        ERR_clear_error();
    });
    return l;
}

QString sslError(const char* what) {
    const unsigned long e = ERR_get_error();
    ERR_clear_error();
    if (!e) return QString::fromLatin1(what);
    char buf[256];
    ERR_error_string_n(e, buf, sizeof buf);
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QLatin1String(buf));
}

} // namespace

RsaSeed::RsaSeed() = default;

RsaSeed::~RsaSeed() {
    for (EVP_CIPHER_CTX* c : ctx_)
        EVP_CIPHER_CTX_free(c);
    OPENSSL_cleanse(key_, sizeof key_);
}

QString RsaSeed::publicKeyPath() {
    const QString env = qEnvironmentVariable("ZQ_VAN_PUBKEY");
    if (!env.isEmpty()) return env;
    return System::exeFolder() + QStringLiteral("van_pub.pem");
}

bool RsaSeed::seedAvailable(QString* error) {
    const CryptoLib& l = lib();
    if (error) *error = l.error;
    return l.seedCbc != nullptr;
}

void RsaSeed::setSessionKey(const QByteArray& key, const QByteArray& iv) {
    haveKey_ = key.size() == 16 && iv.size() == 16;
    keyed_[0] = keyed_[1] = false;
    if (!haveKey_) return;
    memcpy(key_, key.constData(), 16);
    memcpy(iv_, iv.constData(), 16);
}

int RsaSeed::GetRSASeedKey(QByteArray* keyBlock, QString* error) {
    QString dummy;
    QString& err = error ? *error : dummy;
    haveKey_ = false;
    keyed_[0] = keyed_[1] = false;
    keyBlock->fill('\0', KeyBlockSize);
    const CryptoLib& l = lib();
    if (!l.seedCbc) {
        err = l.error;
        return 0;
    }
    QFile f(publicKeyPath());
    if (!f.open(QIODevice::ReadOnly)) {
        err = QStringLiteral("cannot read %1").arg(f.fileName());
        return 0;
    }
    const QByteArray pem = f.read(64 * 1024);
    BIO* bio = BIO_new_mem_buf(pem.constData(), int(pem.size()));
    EVP_PKEY* pkey = bio ? PEM_read_bio_PUBKEY_ex(bio, nullptr, nullptr, nullptr, l.ctx, nullptr) : nullptr;
    BIO_free(bio);
    if (!pkey) {
        err = sslError("not a public key");
        return 0;
    }
    int ok = 0;
    EVP_PKEY_CTX* pctx = nullptr;
    unsigned char secret[32];
    do {
        // The key frame holds exactly 128 bytes: only RSA-1024 fits.
        if (!EVP_PKEY_is_a(pkey, "RSA") || EVP_PKEY_get_bits(pkey) != 1024) {
            err = QStringLiteral("the operator key is not RSA-1024");
            break;
        }
        if (RAND_bytes_ex(l.ctx, secret, sizeof secret, 0) != 1) {
            err = sslError("no random bytes");
            break;
        }
        pctx = EVP_PKEY_CTX_new_from_pkey(l.ctx, pkey, nullptr);
        if (!pctx || EVP_PKEY_encrypt_init(pctx) <= 0 ||
            EVP_PKEY_CTX_set_rsa_padding(pctx, RSA_PKCS1_OAEP_PADDING) <= 0 ||
            EVP_PKEY_CTX_set_rsa_oaep_md_name(pctx, "SHA1", nullptr) <= 0 ||
            EVP_PKEY_CTX_set_rsa_mgf1_md_name(pctx, "SHA1", nullptr) <= 0) {
            err = sslError("RSA-OAEP unavailable");
            break;
        }
        size_t outLen = KeyBlockSize;
        if (EVP_PKEY_encrypt(pctx, reinterpret_cast<unsigned char*>(keyBlock->data()), &outLen, secret,
                             sizeof secret) <= 0 ||
            outLen != size_t(KeyBlockSize)) {
            err = sslError("RSA encryption failed");
            break;
        }
        memcpy(key_, secret, 16);
        memcpy(iv_, secret + 16, 16);
        haveKey_ = true;
        ok = 1;
    } while (false);
    OPENSSL_cleanse(secret, sizeof secret);
    EVP_PKEY_CTX_free(pctx);
    EVP_PKEY_free(pkey);
    if (!ok) keyBlock->fill('\0', KeyBlockSize);
    return ok;
}

std::optional<QByteArray> RsaSeed::crypt(const QByteArray& in, bool encrypt) const {
    const CryptoLib& l = lib();
    if (!haveKey_ || !l.seedCbc) return std::nullopt;
    const int dir = encrypt ? 0 : 1;
    if (!ctx_[dir]) ctx_[dir] = EVP_CIPHER_CTX_new();
    EVP_CIPHER_CTX* c = ctx_[dir];
    if (!c) return std::nullopt;
    QByteArray out(in.size() + 16, '\0');
    int n1 = 0, n2 = 0;
    const bool init = keyed_[dir] ? EVP_CipherInit_ex2(c, nullptr, nullptr, iv_, encrypt ? 1 : 0, nullptr) == 1
                                  : EVP_CipherInit_ex2(c, l.seedCbc, key_, iv_, encrypt ? 1 : 0, nullptr) == 1;
    keyed_[dir] = init;
    bool ok = init &&
              EVP_CipherUpdate(c, reinterpret_cast<unsigned char*>(out.data()), &n1,
                               reinterpret_cast<const unsigned char*>(in.constData()), int(in.size())) == 1 &&
              EVP_CipherFinal_ex(c, reinterpret_cast<unsigned char*>(out.data()) + n1, &n2) == 1;
    if (!ok) {
        keyed_[dir] = false; // start afresh with the next message
        ERR_clear_error();
        return std::nullopt;
    }
    out.resize(n1 + n2);
    return out;
}

QByteArray RsaSeed::rs_Encrypt(const QByteArray& plain) const {
    if (plain.size() != PlainSize) return {};
    auto out = crypt(plain, true);
    if (!out || out->size() != CipherSize) return {};
    return *out;
}

std::optional<QByteArray> RsaSeed::rs_Decrypt(const QByteArray& cipher) const {
    if (cipher.size() != CipherSize) return std::nullopt;
    auto out = crypt(cipher, false);
    if (!out || out->size() != PlainSize) return std::nullopt;
    return out;
}
