# Joins each line that starts with blanks to the line before it, so that text wrapped by hand
# (the release notes, wrapped for the About tab, which scrolls sideways) can be wrapped again by
# a control that wraps lines itself (the installer's notes page). Lines end in CR LF in OUT.
# Run with -DIN= -DOUT=.
file(READ ${IN} text)
string(REPLACE "\r" "" text "${text}")
string(REGEX REPLACE "\n[ \t]+" " " text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
