#include "tls_identity.h"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

namespace platformsim {

namespace {

bool AddExtension(X509* certificate, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (extension == nullptr) {
        return false;
    }
    bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

}  // namespace

TlsIdentity::TlsIdentity() {
    // An EC key is made in a millisecond; an RSA key would slow every test's start.
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* certificate = X509_new();
    bool ok = key != nullptr && certificate != nullptr;
    if (ok) {
        X509_set_version(certificate, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(certificate), 2026);
        X509_gmtime_adj(X509_getm_notBefore(certificate), -24L * 3600);
        X509_gmtime_adj(X509_getm_notAfter(certificate), 10L * 365 * 24 * 3600);
        X509_set_pubkey(certificate, key);
        X509_NAME* name = X509_get_subject_name(certificate);
        X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("lanxun platform sim"),
                                   -1, -1, 0);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(certificate, name);
        ok = AddExtension(certificate, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost") &&
             AddExtension(certificate, NID_basic_constraints, "critical,CA:TRUE") &&
             X509_sign(certificate, key, EVP_sha256()) > 0;
    }
    if (!ok) {
        X509_free(certificate);
        EVP_PKEY_free(key);
        return;
    }
    certificate_ = certificate;
    key_ = key;
}

TlsIdentity::~TlsIdentity() {
    X509_free(certificate_);
    EVP_PKEY_free(key_);
}

std::string TlsIdentity::CertificatePem() const {
    if (certificate_ == nullptr) {
        return {};
    }
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, certificate_);
    char* data = nullptr;
    long length = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<size_t>(length));
    BIO_free(bio);
    return pem;
}

}  // namespace platformsim
