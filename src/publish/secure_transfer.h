// Publishing over encrypted connections, through libcurl: a host typed as
// "ftps://host[:port]" is explicit FTPS (AUTH TLS, PBSZ 0, PROT P, encrypted data
// connections), "sftp://host[:port]" is SFTP. A plain host stays with our own FTP client.
// The run keeps the plain one's steps, messages and rules: the target folder must exist,
// each file goes up under a temporary name, its size is checked and it is then renamed
// into place.
#pragma once
#include "publish/ftp_client.h"
#include "publish/publish_run.h"
#include "publish/secure_host.h"

PublishOutcome RunSecureJob(const PublishJob& job, ftp::RunControl& control);
