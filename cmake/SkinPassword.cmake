# The skin archive's password: the packer and the program both take it from
# here (the program through the generated skin/skin_password.h).
# 18 printable ASCII characters, no quote or backslash.
set(BRISA_SKIN_PASSWORD "Brisa-Skin.7qXw2Lm")
string(LENGTH "${BRISA_SKIN_PASSWORD}" _brisa_skin_password_length)
if(NOT _brisa_skin_password_length EQUAL 18 OR BRISA_SKIN_PASSWORD MATCHES "[\"\\\\]")
  message(FATAL_ERROR "The skin password must be 18 characters without quotes or backslashes")
endif()
