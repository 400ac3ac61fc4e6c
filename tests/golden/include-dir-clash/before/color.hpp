// left alone
