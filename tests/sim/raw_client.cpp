#include "raw_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace simtest {

namespace {

int Connect(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    return fd;
}

void Parse(RawResponse& response) {
    const std::string& bytes = response.bytes;
    size_t end = bytes.find("\r\n\r\n");
    if (bytes.rfind("HTTP/1.", 0) != 0 || end == std::string::npos) {
        return;
    }
    response.status = std::atoi(bytes.c_str() + 9);
    response.headers = bytes.substr(0, end + 2);
    response.body = bytes.substr(end + 4);
}

}  // namespace

std::string GetRequest(const std::string& target, const std::string& extraHeaders) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extraHeaders +
           "Connection: close\r\n\r\n";
}

RawResponse Exchange(int port, const std::string& request) {
    RawResponse response;
    int fd = Connect(port);
    if (fd < 0) {
        return response;
    }
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
        static_cast<ssize_t>(request.size())) {
        char chunk[16384];
        ssize_t got;
        while ((got = recv(fd, chunk, sizeof chunk, 0)) > 0) {
            response.bytes.append(chunk, static_cast<size_t>(got));
        }
    }
    close(fd);
    Parse(response);
    return response;
}

RawResponse ExchangeTls(int port, const std::string& request, const std::string& caPem,
                        std::string* verifyError) {
    RawResponse response;
    int fd = Connect(port);
    if (fd < 0) {
        return response;
    }
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    BIO* pem = BIO_new_mem_buf(caPem.data(), static_cast<int>(caPem.size()));
    X509* ca = PEM_read_bio_X509(pem, nullptr, nullptr, nullptr);
    BIO_free(pem);
    if (ca != nullptr) {
        X509_STORE_add_cert(SSL_CTX_get_cert_store(context), ca);
        X509_free(ca);
    }
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    SSL* ssl = SSL_new(context);
    SSL_set_fd(ssl, fd);
    SSL_set_tlsext_host_name(ssl, "localhost");
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), "127.0.0.1");
    if (SSL_connect(ssl) == 1) {
        SSL_write(ssl, request.data(), static_cast<int>(request.size()));
        char chunk[16384];
        int got;
        while ((got = SSL_read(ssl, chunk, sizeof chunk)) > 0) {
            response.bytes.append(chunk, static_cast<size_t>(got));
        }
    } else if (verifyError != nullptr) {
        *verifyError = X509_verify_cert_error_string(SSL_get_verify_result(ssl));
    }
    SSL_free(ssl);
    SSL_CTX_free(context);
    close(fd);
    Parse(response);
    return response;
}

}  // namespace simtest
