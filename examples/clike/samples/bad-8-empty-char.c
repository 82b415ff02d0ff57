char c = '';
