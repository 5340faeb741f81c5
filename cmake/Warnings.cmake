add_compile_options(-Wall -Wextra -Wno-unused-parameter)
if(BASTION_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(WIN32)
  # Unicode entry points and the W functions everywhere; static runtime so no
  # mingw DLL has to ship beside the programs.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
