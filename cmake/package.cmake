# The Debian package is built from debian/ with debhelper (scripts/package.sh). Its upstream
# version must be this project's, so that the package, the metadata and `tavi --version` agree:
# a new version needs a new first entry in debian/changelog.
file(STRINGS debian/changelog TAVI_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT TAVI_CHANGELOG_HEAD MATCHES "^tavi \\(${PROJECT_VERSION}-[0-9]+\\) ")
  message(FATAL_ERROR "debian/changelog starts with \"${TAVI_CHANGELOG_HEAD}\", "
    "not version ${PROJECT_VERSION}-N")
endif()
