#!/bin/sh
# Installs the Debian documentation packages whose pages the marker-suggestion
# benchmark (suggest_bench.py) scores; the benchmark names and skips any site
# whose package is missing. Run as root on Debian 12.
set -eu
apt-get install -y --no-install-recommends \
  python3.11-doc cmake-doc postgresql-doc-15 libglib2.0-doc libgtk-3-doc git-doc \
  nodejs fish-common valgrind \
  ikiwiki python-django-doc python-sqlalchemy-doc sphinx-doc debian-policy \
  libgtk-4-doc gnucash-docs \
  erlang-doc python-scrapy-doc libpam-doc libsoup-3.0-doc vim-doc sqlite3-doc ghc-doc
