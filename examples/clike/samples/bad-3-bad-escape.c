char c = '\q';
