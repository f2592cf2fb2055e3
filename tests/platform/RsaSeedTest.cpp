#include "platform/crypto/RsaSeed.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

namespace {

// A throw-away operator key pair, made by the test.
struct KeyPair {
    explicit KeyPair(unsigned bits) { key = EVP_RSA_gen(bits); }
    ~KeyPair() { EVP_PKEY_free(key); }
    bool writePublic(const QString& path) const {
        BIO* b = BIO_new(BIO_s_mem());
        PEM_write_bio_PUBKEY(b, key);
        char* p = nullptr;
        const long n = BIO_get_mem_data(b, &p);
        QFile f(path);
        const bool ok = f.open(QIODevice::WriteOnly) && f.write(p, n) == n;
        BIO_free(b);
        return ok;
    }
    QByteArray unwrap(const QByteArray& block) const {
        EVP_PKEY_CTX* c = EVP_PKEY_CTX_new(key, nullptr);
        EVP_PKEY_decrypt_init(c);
        EVP_PKEY_CTX_set_rsa_padding(c, RSA_PKCS1_OAEP_PADDING);
        EVP_PKEY_CTX_set_rsa_oaep_md(c, EVP_sha1());
        EVP_PKEY_CTX_set_rsa_mgf1_md(c, EVP_sha1());
        QByteArray out(256, '\0');
        size_t n = size_t(out.size());
        const bool ok = EVP_PKEY_decrypt(c, reinterpret_cast<unsigned char*>(out.data()), &n,
                                         reinterpret_cast<const unsigned char*>(block.constData()),
                                         size_t(block.size())) > 0;
        EVP_PKEY_CTX_free(c);
        return ok ? out.left(int(n)) : QByteArray();
    }
    EVP_PKEY* key = nullptr;
};

class RsaSeedTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = qgetenv("ZQ_VAN_PUBKEY");
        pub_ = dir_.filePath(QStringLiteral("van_pub.pem"));
        qputenv("ZQ_VAN_PUBKEY", pub_.toLocal8Bit());
    }
    void TearDown() override {
        if (old_.isEmpty())
            qunsetenv("ZQ_VAN_PUBKEY");
        else
            qputenv("ZQ_VAN_PUBKEY", old_);
    }
    QTemporaryDir dir_;
    QString pub_;
    QByteArray old_;
};

TEST(RsaSeedCipher, SeedIsAvailable) {
    QString error;
    EXPECT_TRUE(RsaSeed::seedAvailable(&error)) << error.toStdString();
}

// The published SEED test vectors: with a zero IV the first CBC block is the
// bare block cipher.
TEST(RsaSeedCipher, KnownAnswers) {
    const struct {
        const char* key;
        const char* plain;
        const char* cipher;
    } vectors[] = {
        {"00000000000000000000000000000000", "000102030405060708090A0B0C0D0E0F",
         "5EBAC6E0054E166819AFF1CC6D346CDB"},
        {"000102030405060708090A0B0C0D0E0F", "00000000000000000000000000000000",
         "C11F22F20140505084483597E4370F43"},
        {"4706480851E61BE85D74BFB3FD956185", "83A2F8A288641FB9A4E9A5CC2F131C7D",
         "EE54D13EBCAE706D226BC3142CD40D4A"},
        {"28DBC3BC49FFD87DCFA509B11D422BE7", "B41E6BE2EBA84A148E2EED84593C5EC7",
         "9B9B7BFCD1813CB95D0B3618F40F5122"},
    };
    for (const auto& v : vectors) {
        RsaSeed s;
        s.setSessionKey(QByteArray::fromHex(v.key), QByteArray(16, '\0'));
        QByteArray plain = QByteArray::fromHex(v.plain);
        plain.append(QByteArray(1024 - 16, 'x'));
        const QByteArray c = s.rs_Encrypt(plain);
        ASSERT_EQ(c.size(), 1040);
        EXPECT_EQ(c.left(16).toHex().toUpper(), QByteArray(v.cipher)) << v.key;
    }
}

TEST_F(RsaSeedTest, KeyBlockCarriesKeyAndIvAndBothSidesAgree) {
    KeyPair kp(1024);
    ASSERT_TRUE(kp.writePublic(pub_));
    RsaSeed client;
    QByteArray block;
    QString error;
    ASSERT_EQ(client.GetRSASeedKey(&block, &error), 1) << error.toStdString();
    ASSERT_EQ(block.size(), 128);
    const QByteArray secret = kp.unwrap(block);
    ASSERT_EQ(secret.size(), 32);

    RsaSeed server;
    server.setSessionKey(secret.left(16), secret.mid(16));
    QByteArray msg(1024, ' ');
    msg.replace(0, 10, "0810100ABC");
    const QByteArray c = server.rs_Encrypt(msg);
    ASSERT_EQ(c.size(), 1040);
    const auto back = client.rs_Decrypt(c);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, msg);
    // Each message stands alone: the same message encrypts the same way.
    EXPECT_EQ(client.rs_Encrypt(msg), c);

    // A fresh key per connection.
    RsaSeed other;
    QByteArray block2;
    ASSERT_EQ(other.GetRSASeedKey(&block2), 1);
    EXPECT_NE(kp.unwrap(block2), secret);
    EXPECT_FALSE(other.rs_Decrypt(c)) << "a body under another key must not decrypt";
}

TEST_F(RsaSeedTest, BodiesThatDoNotDecryptAreFailures) {
    RsaSeed s;
    s.setSessionKey(QByteArray(16, 'k'), QByteArray(16, 'i'));
    const QByteArray c = s.rs_Encrypt(QByteArray(1024, 'm'));
    EXPECT_FALSE(s.rs_Decrypt(c.left(1039)));
    EXPECT_FALSE(s.rs_Decrypt(QByteArray(1040, '\0')));
    EXPECT_FALSE(s.rs_Decrypt(c + QByteArray(16, 'x')));
    // Sixteen more bytes of padding would unpad to 1008 bytes: not a message.
    RsaSeed noKey;
    EXPECT_FALSE(noKey.rs_Decrypt(c));
    EXPECT_TRUE(noKey.rs_Encrypt(QByteArray(1024, 'm')).isEmpty());
    EXPECT_TRUE(s.rs_Encrypt(QByteArray(1000, 'm')).isEmpty());
}

TEST_F(RsaSeedTest, MissingOrBadOperatorKeyFails) {
    KeyPair big(2048);
    const struct {
        const char* name;
        QByteArray content; // empty: no file
    } cases[] = {
        {"no key file", QByteArray()},
        {"not a PEM", QByteArray("hello")},
        {"a 2048-bit key does not fit the key frame", QByteArray("big")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(pub_);
        if (c.content == "big")
            ASSERT_TRUE(big.writePublic(pub_));
        else if (!c.content.isEmpty()) {
            QFile f(pub_);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        RsaSeed s;
        QByteArray block("junk");
        QString error;
        EXPECT_EQ(s.GetRSASeedKey(&block, &error), 0);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(block, QByteArray(128, '\0'));
        EXPECT_FALSE(s.hasKey());
    }
}

} // namespace
