int nostrings_fixture;
