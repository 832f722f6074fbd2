// Publishing over encrypted connections, through libcurl: a host typed as
// "ftps://host[:port]" is explicit FTPS (AUTH TLS, PBSZ 0, PROT P, encrypted data
// connections), "sftp://host[:port]" is SFTP. The transport is SecureTransport
// (publish/transport.h); the target folder must exist, each file goes up under a
// temporary name, its size is checked and it is then renamed into place.
#pragma once
#include "publish/secure_host.h"
#include "publish/transport.h"
