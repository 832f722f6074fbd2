// Publishing over encrypted connections, through libcurl: a host typed as
// "ftps://host[:port]" is explicit FTPS (AUTH TLS, PBSZ 0, PROT P, encrypted data
// connections), "sftp://host[:port]" is SFTP. The target folder must exist, each file goes
// up under a temporary name, its size is checked and it is then renamed into place.
// Built as the module secure-transfer.so in the program folder, so that libcurl and its
// TLS and SSH libraries load only when an encrypted transfer first starts; SecureTransport
// (publish/transport.h, secure_loader.cpp) loads it.
#pragma once
#include "publish/secure_host.h"
#include "publish/transport.h"

// The module's one entry point: a new transport, deleted by its caller.
extern "C" PublishTransport* VerostaSecureTransport(const PublishJob& job, ftp::RunControl& control);
inline constexpr const char* kSecureModule = "secure-transfer.so";
