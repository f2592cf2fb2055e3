#pragma once
#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// The VAN session cipher. The client wraps a fresh SEED-128 key and IV with
// the operator's RSA-1024 public key (OAEP, SHA-1) for the key frame; every
// 1024-byte message then travels SEED-128-CBC with PKCS#7 padding under that
// key and IV, each message on its own (1040 bytes). The server answers with
// the same key and IV.
//
// One object per connection, as the old library's context block was.
class RsaSeed {
public:
    static constexpr int KeyBlockSize = 128;
    static constexpr int PlainSize = 1024;
    static constexpr int CipherSize = 1040;

    RsaSeed();
    ~RsaSeed();
    RsaSeed(const RsaSeed&) = delete;
    RsaSeed& operator=(const RsaSeed&) = delete;

    // The operator's public key: $ZQ_VAN_PUBKEY, else van_pub.pem in the
    // program folder.
    static QString publicKeyPath();

    // Draws a new session key and IV and puts the 128-byte key block into
    // *keyBlock. 1 on success, 0 on failure (no key file, not an RSA-1024
    // key, no SEED in this OpenSSL); *error says why.
    int GetRSASeedKey(QByteArray* keyBlock, QString* error = nullptr);

    // 1024 plain bytes to 1040 cipher bytes; empty when there is no session
    // key or the input is not 1024 bytes.
    QByteArray rs_Encrypt(const QByteArray& plain) const;

    // 1040 cipher bytes back to the 1024-byte message; nothing when the body
    // does not decrypt or unpad to exactly one message.
    std::optional<QByteArray> rs_Decrypt(const QByteArray& cipher) const;

    bool hasKey() const { return haveKey_; }

    // Sets the key and IV directly (the test peer's side, benchmarks).
    void setSessionKey(const QByteArray& key, const QByteArray& iv);

    // True when this OpenSSL offers SEED-128-CBC through its legacy provider.
    static bool seedAvailable(QString* error = nullptr);

private:
    std::optional<QByteArray> crypt(const QByteArray& in, bool encrypt) const;

    unsigned char key_[16] = {};
    unsigned char iv_[16] = {};
    bool haveKey_ = false;
    // One cipher context per direction for the whole session, keyed once;
    // each message only restarts it at the IV.
    mutable struct evp_cipher_ctx_st* ctx_[2] = {nullptr, nullptr};
    mutable bool keyed_[2] = {false, false};
};
