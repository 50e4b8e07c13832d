# Writes OUTPUT, a C++ file defining kOwnBackgroundDigest: the SHA-256 of PICTURE, or empty
# when there is no PICTURE. Run with cmake -P at build time, after the painter has run.
set(digest "")
if(PICTURE AND EXISTS "${PICTURE}")
    file(SHA256 "${PICTURE}" digest)
endif()
set(text "// Generated at build time: the digest of the background the painter made.\n")
string(APPEND text "#include \"app/background_painter.h\"\n\n")
string(APPEND text "const char* const kOwnBackgroundDigest = \"${digest}\";\n")
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
