// The English result texts of HttpProbe: HTTP reason phrases and error descriptions.
#include <algorithm>
#include <iterator>

#include "probes/network/HttpProbe.h"

namespace {

struct CodeText {
    std::uint32_t code;
    const char* text;
};

bool CodeLess(const CodeText& entry, std::uint32_t code) { return entry.code < code; }

template <std::size_t N>
const char* Find(const CodeText (&table)[N], std::uint32_t code, const char* fallback) {
    const CodeText* end = table + N;
    const CodeText* it = std::lower_bound(table, end, code, CodeLess);
    return (it != end && it->code == code) ? it->text : fallback;
}

// Sorted by code: the lookup is a binary search.
constexpr CodeText kStatusTexts[] = {
    {100, "Continue"},
    {101, "Switching Protocols"},
    {200, "OK"},
    {201, "Created"},
    {202, "Accepted"},
    {203, "Non-Authoritative Information"},
    {204, "No Content"},
    {205, "Reset Content"},
    {206, "Partial Content"},
    {300, "Multiple Choices"},
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {304, "Not Modified"},
    {305, "Use Proxy"},
    {307, "Temporary Redirect"},
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {402, "Payment Required"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {406, "Not Acceptable"},
    {407, "Proxy Authentication Required"},
    {408, "Request Timeout"},
    {409, "Conflict"},
    {410, "Gone"},
    {411, "Length Required"},
    {412, "Precondition Failed"},
    {413, "Request Entity Too Large"},
    {414, "Request-URI Too Long"},
    {415, "Unsupported Media Type"},
    {416, "Requested Range Not Suitable"},
    {417, "Expectation Failed"},
    {500, "Internal Server Error"},
    {501, "Not Implemented"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Timeout"},
    {505, "HTTP Version Not Supported"},
};

// Sorted by code. Every text but the one for 259 ends with a full stop and one blank.
constexpr CodeText kErrorTexts[] = {
    {6, "The handle that was passed to the API has been either invalidated or closed. "},
    {18, "No more files have been found. "},
    {234, "More data is available. "},
    {259, "No more items have been found."},
    {12001, "No further Internet handles can be created at the moment. "},
    {12002, "The request has timed out. "},
    {12003, "The server sent back additional error information. "},
    {12004, "Something went wrong inside the Internet functions. "},
    {12005, "The URL is invalid. "},
    {12006, "The scheme of the URL is not recognised or not supported. "},
    {12007, "The server name could not be resolved. "},
    {12008, "No protocol handler could be found for the request. "},
    {12009, "The option to be queried or set is not a valid one. "},
    {12010, "The option's buffer length does not suit that option. "},
    {12011, "This option can only be read, not set. "},
    {12012, "Internet support is shutting down or being unloaded. "},
    {12013, "The FTP server rejected the user name. "},
    {12014, "The FTP server rejected the password. "},
    {12015, "Logging on to the FTP server failed. "},
    {12016, "The operation asked for is not valid. "},
    {12017,
     "The operation was cancelled, usually because its handle was closed before it finished. "},
    {12018, "The handle given is of the wrong type for this operation. "},
    {12019, "The handle given is not in a state that allows this operation. "},
    {12020, "This request cannot go through a proxy. "},
    {12021, "A registry value that is needed could not be found. "},
    {12022, "A registry value that is needed has the wrong type or an invalid value. "},
    {12023, "Direct access to the network is not possible at the moment. "},
    {12024, "An asynchronous request needs a context value other than zero. "},
    {12025, "An asynchronous request needs a status callback, and none is set. "},
    {12026, "The operation cannot finish while one or more requests are still pending. "},
    {12027, "The request is not in a valid format. "},
    {12028, "The item asked for could not be found. "},
    {12029, "The attempt to connect to the server failed. "},
    {12030, "The connection with the server has been terminated. "},
    {12031, "The connection with the server has been reset. "},
    {12032, "The request has to be sent again. "},
    {12033, "The request sent to the proxy was not valid. "},
    {12034, "The operation needs a user interface or would block. "},
    {12036, "The handle already exists, so the request failed. "},
    {12037,
     "SSL certificate date that was received from the server is bad. The certificate is expired. "},
    {12038,
     "SSL certificate common name (host name field) is incorrect - for example, the host name "
     "entered was www.example.org but the certificate names mail.example.net. "},
    {12039, "A redirect is taking the application from a plain connection to an SSL one. "},
    {12040, "A redirect is taking the application from an SSL connection to a plain one. "},
    {12041,
     "Not all of the content is secure: some of it may have come from servers without SSL. "},
    {12042, "The application is posting changed text to a server that is not secure. "},
    {12043, "The application is posting data to a server that is not secure. "},
    {12044, "The server is requesting client authentication. "},
    {12045, "Certificate Authority that generated the server's certificate is invalid. "},
    {12046, "Client authentication has not been set up on this computer. "},
    {12047, "A thread for asynchronous work could not be started. "},
    {12048,
     "The redirect could not be followed because it changes the scheme, for instance from HTTP to "
     "FTP. "},
    {12049, "A password dialog box is already open in another thread. "},
    {12050, "The dialog box has to be shown again. "},
    {12052, "Data sent over an SSL connection is being redirected to a plain connection. "},
    {12053, "The resource can only be found with a CD-ROM in the drive. "},
    {12110, "An operation is already running on this FTP session handle. "},
    {12111, "The FTP session ended before the operation was complete. "},
    {12112, "The server does not offer passive mode. "},
    {12130, "The data sent by the Gopher server could not be parsed. "},
    {12131, "This request needs a file locator. "},
    {12132, "An error occurred while receiving data from the Gopher server. "},
    {12133, "The end of the data has been reached. "},
    {12134, "The locator given is not valid. "},
    {12135, "The locator's type does not suit this operation. "},
    {12136, "This operation needs a Gopher+ server or a locator of a Gopher+ operation. "},
    {12137, "The attribute asked for could not be found. "},
    {12138, "The type of the locator is not known. "},
    {12150, "The header asked for could not be found. "},
    {12151, "The server sent no headers. "},
    {12152, "The server response could not be parsed. "},
    {12153, "The header given is not valid. "},
    {12154, "The query for header information is not valid. "},
    {12155, "The header already exists and could not be added. "},
    {12156, "The redirect failed: the scheme changed or every redirect attempt failed. "},
    {12157, "The application experienced an internal error loading the SSL libraries. "},
    {12158, "The file could not be stored in the cache. "},
    {12159, "The TCP/IP protocol stack is not loaded, so Windows Sockets cannot start. "},
    {12160, "The HTTP request was not redirected. "},
    {12161, "The HTTP cookie needs to be confirmed. "},
    {12162, "The HTTP cookie was declined by the server. "},
    {12163, "The Internet connection has been lost. "},
    {12164, "The web site or server cannot be reached. "},
    {12165, "The designated proxy server cannot be reached. "},
    {12166, "The automatic proxy configuration script contains an error. "},
    {12167, "The automatic proxy configuration script could not be downloaded. "},
    {12168, "The redirect has to be confirmed by the user. "},
    {12169, "SSL certificate is invalid. "},
    {12170, "SSL certificate was revoked. "},
    {12171, "A security check made the function fail. "},
};

constexpr bool IsSorted(const CodeText* first, const CodeText* last) {
    for (const CodeText* it = first; it + 1 < last; ++it) {
        if (!(it->code < (it + 1)->code)) return false;
    }
    return true;
}
static_assert(IsSorted(std::begin(kStatusTexts), std::end(kStatusTexts)), "status table order");
static_assert(IsSorted(std::begin(kErrorTexts), std::end(kErrorTexts)), "error table order");

}  // namespace

std::string HttpProbe::GetStatusText(std::uint32_t code) {
    return Find(kStatusTexts, code, "Unknown");
}

std::string HttpProbe::GetErrorText(std::uint32_t code) {
    return Find(kErrorTexts, code, "Unknown error.");
}
