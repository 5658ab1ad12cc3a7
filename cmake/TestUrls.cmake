# The two addresses the test run requests. A deployment may point them elsewhere:
#   cmake --preset mingw -DTARNVIK_HTTP_URL=http://intranet.example/ -DTARNVIK_HTTPS_URL=https://sync.example/es/logon.asp
set(TARNVIK_HTTP_URL "http://www.debian.org/" CACHE STRING
    "Public web page that the plain HTTP reachability test requests")
set(TARNVIK_HTTPS_URL "https://sync.tarnvik.com/es/logon.asp" CACHE STRING
    "Synchronisation service log-on page that the HTTPS and ActiveX tests use")
configure_file(${CMAKE_CURRENT_LIST_DIR}/TestUrls.h.in ${PROJECT_BINARY_DIR}/generated/TestUrls.h @ONLY)
