# The 300-character listing name is cut to its first 255 characters (the longest file name
# the file system takes): the listing is written under the cut name.
cut=$(printf 'o%.0s' $(seq 255))
cmp -s "$CASE_DIR/../driver-banner-done/expected/out.lst" "$cut" || { echo "no listing under the cut name"; exit 1; }
