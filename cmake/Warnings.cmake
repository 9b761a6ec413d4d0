add_compile_options(-Wall -Wextra -Wno-unused-parameter)
if(NOT WIN32)
  add_compile_options(-fno-omit-frame-pointer)
endif()
