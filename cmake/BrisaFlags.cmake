# Compiler flags shared by every target of the project (not by third-party code).
if(BRISA_NATIVE)
  set(BRISA_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_compile_options(${BRISA_SANITIZE} -g)
  add_link_options(${BRISA_SANITIZE})
else()
  # SSE arithmetic: x87 excess precision changes float encodings on the wire.
  add_compile_options(-municode -msse2 -mfpmath=sse)
  add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Warnings for our own targets only.
function(brisa_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
