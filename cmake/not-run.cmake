# The command of a placeholder test: says what is missing and ends with the
# code its SKIP_RETURN_CODE names.
message(FATAL_ERROR "not run: ${MISSING} not found")
