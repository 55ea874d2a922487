# The Debian package of what packaging/ installs, made by `cpack` in the build folder
# (scripts/package): larkspin_VERSION_ARCH.deb, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME larkspin)
set(CPACK_PACKAGE_VENDOR "Larkspin developers")
set(CPACK_PACKAGE_CONTACT "Larkspin developers <developers@larkspin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "POP3 mail client that peeks at headers before downloading")
set(CPACK_PACKAGE_DESCRIPTION "\
Larkspin fetches only the header of each message waiting in your POP3
mailboxes, lists From, Subject, Date, Account and Size, and lets you delete
junk on the server before it ever reaches your disk. Messages you keep are
stored as plain text files, with their attachments, in a working folder of
your choice. It also peeks, downloads and sends from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links (libcurl for OAuth's token requests among them), found by
# dpkg-shlibdeps; xdg-open opens links, attachments
# and the log with the desktop's programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
