# cmake -DIN=<form data> -DOUT=<form data out> -P PlainForm.cmake
# The main window's form data with its skin data component switched off.
file(READ ${IN} text)
string(REPLACE "    Active = True\n" "    Active = False\n" text "${text}")
file(WRITE ${OUT} "${text}")
